#include "ios/CrashReporter.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <sstream>

#include "ios/Platform.h"

namespace {

constexpr int kMaxFrames = 60;
constexpr const char* kForumAddress = "https://forum.example.org/vantor/bugs";
constexpr const char* kBugMail = "bugs@example.org";

std::atomic<int> handledSignals{0};

// Text built in a fixed buffer, without allocating: a fatal signal may strike
// inside the allocator, and the handler must still be able to report it.
// What does not fit is cut off.
class FixedText {
 public:
  FixedText& operator<<(const char* text) {
    while (*text != '\0' && length_ < kCapacity) buffer_[length_++] = *text++;
    buffer_[length_] = '\0';
    return *this;
  }
  FixedText& operator<<(int number) {
    char digits[16];
    int n = 0;
    unsigned magnitude = static_cast<unsigned>(number);
    if (number < 0) magnitude = 0u - magnitude;
    do {
      digits[n++] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (number < 0) digits[n++] = '-';
    char text[17];
    for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
    text[n] = '\0';
    return *this << text;
  }
  // Hexadecimal with a leading 0x, as a stream prints a pointer.
  FixedText& operator<<(const void* pointer) {
    uintptr_t value = reinterpret_cast<uintptr_t>(pointer);
    char digits[2 * sizeof(value) + 1];
    int n = 0;
    do {
      digits[n++] = "0123456789abcdef"[value % 16];
      value /= 16;
    } while (value != 0);
    char text[sizeof(digits) + 3] = {'0', 'x'};
    for (int i = 0; i < n; ++i) text[2 + i] = digits[n - 1 - i];
    text[2 + n] = '\0';
    return *this << text;
  }
  const char* text() const { return buffer_; }
  size_t length() const { return length_; }

 private:
  static constexpr size_t kCapacity = 4095;
  char buffer_[kCapacity + 1] = {};
  size_t length_ = 0;
};

void appendCallStack(FixedText& out) {
  void* frames[kMaxFrames];
  int n = platform::captureBackTrace(frames, kMaxFrames);
  if (n <= 0) {
    out << "No callstack available";
    return;
  }
  out << "Call stack:\n";
  for (int i = 0; i < n; ++i) out << "> " << static_cast<const void*>(frames[i]) << "\n";
}

// One layout for both writers: a FixedText in the signal handler, a string
// stream everywhere else.
template <typename Out>
void appendCrashMessage(Out& out, const char* text) {
  out << "WOOPS! :-(\n\n"
      << text << "\n"
      << "\nPlease report the bug.\n"
      << "  - To the dedicated forum thread: " << kForumAddress << "\n"
      << "  - By email: " << kBugMail << "\n"
      << "\nWe will fix this as quickly as possible. Thanks for your help!\n";
}

// Both texts live outside the handler's stack frame, which may be small (a
// thread's stack); only the first signal of the process ever uses them.
FixedText signalText;
FixedText signalMessage;

void onSignal(int signalNumber) {
  if (handledSignals.exchange(1) != 0) return;
  if (signalNumber == SIGINT || signalNumber == SIGTERM) std::_Exit(255);
  if (signalNumber == SIGILL || signalNumber == SIGFPE || signalNumber == SIGSEGV) {
    signalText << "Caught signal " << signalNumber << "\n\n";
    appendCallStack(signalText);
    signalText << "\n";
    appendCrashMessage(signalMessage, signalText.text());
    // Standard error first, without allocating; only the dialog, shown when
    // a display exists, needs the heap.
    platform::writeStandardError(signalMessage.text(), signalMessage.length());
    if (platform::displayAvailable()) platform::showModalDialog(signalMessage.text());
    std::signal(SIGABRT, SIG_DFL);
    std::abort();
  }
}

}  // namespace

std::string captureCallStack() {
  FixedText stack;
  appendCallStack(stack);
  return std::string(stack.text(), stack.length());
}

void installCrashHandlers() {
  // The first back-trace loads the unwinder library, which allocates; doing
  // it here keeps that out of the handler.
  void* frame;
  platform::captureBackTrace(&frame, 1);
  for (int signalNumber : {SIGSEGV, SIGINT, SIGFPE, SIGTERM, SIGILL}) {
    std::signal(signalNumber, onSignal);
  }
  // Where a fault on another thread raises no signal (Windows), the same
  // handler hears of it all the same.
  platform::onFatalFault(onSignal);
}

std::string crashMessageText(const std::string& text) {
  std::ostringstream message;
  appendCrashMessage(message, text.c_str());
  return message.str();
}

void showCrashMessage(const std::string& text) {
  std::string message = crashMessageText(text);
  std::fflush(stderr);
  platform::writeStandardError(message.data(), message.size());
  platform::showModalDialog(message);
}
