#include "ios/CrashReporter.h"

#include <csignal>
#include <initializer_list>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "ios/Platform.h"

namespace {

constexpr int kMaxFrames = 60;
constexpr const char* kForumAddress = "https://forum.example.org/vantor/bugs";
constexpr const char* kBugMail = "bugs@example.org";

volatile std::sig_atomic_t handledSignals = 0;

void onSignal(int signalNumber) {
  if (handledSignals != 0) return;
  handledSignals = 1;
  if (signalNumber == SIGINT || signalNumber == SIGTERM) std::_Exit(255);
  if (signalNumber == SIGILL || signalNumber == SIGFPE || signalNumber == SIGSEGV) {
    std::ostringstream text;
    text << "Caught signal " << signalNumber << "\n\n" << captureCallStack() << "\n";
    showCrashMessage(text.str());
    std::signal(SIGABRT, SIG_DFL);
    std::abort();
  }
}

}  // namespace

std::string captureCallStack() {
  void* frames[kMaxFrames];
  int n = platform::captureBackTrace(frames, kMaxFrames);
  if (n <= 0) return "No callstack available";
  std::ostringstream text;
  text << "Call stack:\n";
  for (int i = 0; i < n; ++i) text << "> " << frames[i] << "\n";
  return text.str();
}

void installCrashHandlers() {
  for (int signalNumber : {SIGSEGV, SIGINT, SIGFPE, SIGTERM, SIGILL}) {
    std::signal(signalNumber, onSignal);
  }
}

std::string crashMessageText(const std::string& text) {
  std::ostringstream message;
  message << "WOOPS! :-(\n\n"
          << text << "\n"
          << "\nPlease report the bug.\n"
          << "  - To the dedicated forum thread: " << kForumAddress << "\n"
          << "  - By email: " << kBugMail << "\n"
          << "\nWe will fix this as quickly as possible. Thanks for your help!\n";
  return message.str();
}

void showCrashMessage(const std::string& text) {
  std::string message = crashMessageText(text);
  std::fputs(message.c_str(), stderr);
  std::fflush(stderr);
  platform::showModalDialog(message);
}
