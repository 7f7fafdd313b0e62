// The one home of the operating-system services the rest of the program uses:
// the millisecond tick, sleeping, the executable's directory, call-stack
// capture, a modal dialog, and (for the client) starting the local server
// child, reading what it writes, and killing it. PlatformPosix.cpp is the
// Linux side, PlatformWindows.cpp the Windows side, Platform.cpp what needs
// neither; sockets have their own files behind SocketSystem.h.
// Nothing else includes an OS header for these.
//
// Thread safety: every function may be called from any thread.
#ifndef VANTOR_IOS_PLATFORM_H_
#define VANTOR_IOS_PLATFORM_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Milliseconds from a fixed point in the past, on a monotonic clock, wrapping
// at 2^32 like GetTickCount.
uint32_t tickCount();
// Milliseconds on the same monotonic clock, never wrapping: for deadlines.
uint64_t monotonicMilliseconds();

void sleepMilliseconds(unsigned milliseconds);

// The directory that holds the running executable, without a trailing slash;
// empty when it cannot be told.
std::string executableDirectory();
// The folder that holds the pictures (PNG/) and fonts (TTF/), given the
// executable's: that folder itself when they are beside the executable (a
// build), else its ../share/vantor when they are there (an installed copy),
// else the executable's folder still.
std::string resourceDirectory(const std::string& executableFolder);
// The folder that holds users' program settings: $XDG_CONFIG_HOME when it
// is an absolute path, else $HOME/.config on Linux; %APPDATA% on Windows.
// Empty when the environment names none.
std::string userConfigurationFolder();
// Puts text in the file at path, in place of what it held, so that a crash
// leaves either the old file or the new one, never half of one (a flushed
// temporary file in the same folder, renamed over it). Empty when it worked,
// else the system's reason.
std::string replaceFile(const std::string& path, const std::string& text);

// Makes path the working directory; false when that fails.
bool changeDirectory(const std::string& path);

// Fills frames with up to maxFrames return addresses of the calling thread,
// innermost first; returns how many were captured.
int captureBackTrace(void** frames, int maxFrames);

// Hands the faults that reach no signal handler to handler, with the signal
// that stands for each (SIGSEGV, SIGILL, SIGFPE): on Windows, an unhandled
// structured exception of any thread. On Linux faults are signals already,
// and nothing is installed.
void onFatalFault(void (*handler)(int signalNumber));

// Writes all of text to standard error with plain system writes: no stream
// lock and no allocation, so a signal handler may use it.
void writeStandardError(const char* text, size_t length);

// Whether an X display is named in the environment.
bool displayAvailable();
// Shows text in a modal dialog and returns when the user closes it. Returns
// at once, without a dialog, when no display is available.
void showModalDialog(const std::string& text);

// Starts a copy of the running executable with args (args[0] is the name the
// copy sees as its argv[0]) and this process's environment plus the
// "NAME=value" entries of extraEnvironment; returns its process id, or -1 on
// failure. With output given, the copy's standard output is a pipe whose
// reading end is stored there (-1 on failure); the caller reads it with
// readWithin, must keep reading it for as long as the copy writes (a full
// pipe stops the writer) and closes it with closeDescriptor. The reading end
// is not passed on to programs this process starts later.
int spawnSelf(const std::vector<std::string>& args,
              const std::vector<std::string>& extraEnvironment = {}, int* output = nullptr);
// Reads what is available from the descriptor, waiting up to timeoutMs for
// something to come (for ever when timeoutMs is negative): the number of
// bytes read, 0 at the end of the stream, -1 on time-out or failure.
long readWithin(int descriptor, char* buffer, size_t size, int timeoutMs);
void closeDescriptor(int descriptor);
// Writes all of text to standard output with plain system writes.
void writeStandardOutput(const char* text, size_t length);
// Ends a child started by spawnSelf at once and reaps it.
void killChild(int pid);
// Asks the system to kill this process when its parent goes. Returns false
// when the parent is already gone or is not a copy of this executable (the
// process has been handed to another parent), so the caller should stop.
bool dieWithParent();

}  // namespace platform

#endif  // VANTOR_IOS_PLATFORM_H_
