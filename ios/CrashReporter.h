// What the program does when it fails beyond recovery: a message with a call
// stack on standard error (always) and in a modal dialog (when a display
// exists), asking for a bug report. Fatal signals end in that message; an
// interrupt or termination request ends the process with exit code 255.
//
// Thread safety: every function may be called from any thread; the signal
// handler reports only the first signal of the process.
#ifndef VANTOR_IOS_CRASHREPORTER_H_
#define VANTOR_IOS_CRASHREPORTER_H_

#include <string>

// "Call stack:\n" and one "> 0x..." line per return address, innermost first,
// at most 60; "No callstack available" when the platform cannot tell.
std::string captureCallStack();

// Installs the handler for SIGSEGV, SIGINT, SIGFPE, SIGTERM and SIGILL.
void installCrashHandlers();

// Writes the whole crash message around text to standard error, then shows it
// in a modal dialog when a display exists and returns when it is closed.
void showCrashMessage(const std::string& text);

// The full message that showCrashMessage shows for text.
std::string crashMessageText(const std::string& text);

#endif  // VANTOR_IOS_CRASHREPORTER_H_
