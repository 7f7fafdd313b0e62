// The two ways the client keeps an 8-bit protocol string: cut into a
// fixed-size text field, or copied at its exact length onto the C heap.
// Events and game copies use them so that they outlive the frame they were
// parsed from. Also the crossing between those strings and the wide text
// the front end shows: byte by byte each way.
//
// Thread safety: plain functions without shared state.
#ifndef VANTOR_CLIENT_VANTORTEXT_H_
#define VANTOR_CLIENT_VANTORTEXT_H_

#include <cstddef>
#include <string>

// Copies at most size - 1 bytes of text into field and ends it with a 0
// byte. A null text leaves the field empty.
void copyToField(char* field, size_t size, const char* text);

// A malloc'ed copy of text, released with free(); null for a null text.
char* copyToHeap(const char* text);

// Each byte of text as one wide character; a null text gives an empty one.
std::wstring widenText(const char* text);
std::wstring widenText(const std::string& text);
// Each wide character of text cut to its low byte.
std::string narrowText(const std::wstring& text);

#endif  // VANTOR_CLIENT_VANTORTEXT_H_
