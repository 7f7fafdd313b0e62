// The Windows side of the platform layer (PlatformPosix.cpp is the Linux
// side). The server children of spawnSelf live in a job object that this
// process holds open and that kills them when it closes, which Windows does
// when this process ends in any way: no child outlives its client.
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "ios/Platform.h"

namespace {
// The C runtime of Windows buffers standard error fully when it is a file or
// a pipe, so that lines written before a crash or a kill would be lost, and
// would come out of order with what a child writes there. As the program
// loads, it is made unbuffered, as the C standard has it everywhere else.
const int unbufferedErrors = std::setvbuf(stderr, nullptr, _IONBF, 0);
}  // namespace

namespace platform {

uint64_t monotonicMilliseconds() {
  return GetTickCount64();
}

uint32_t tickCount() {
  return static_cast<uint32_t>(GetTickCount64());
}

void sleepMilliseconds(unsigned milliseconds) {
  // Sleep() may end up to a tick early by the tick count's own measure, and
  // the tick advances in steps of several milliseconds: the sleep lasts until
  // the clock says the time has passed.
  const uint64_t end = monotonicMilliseconds() + milliseconds;
  Sleep(milliseconds);
  for (uint64_t now = monotonicMilliseconds(); now < end; now = monotonicMilliseconds()) {
    Sleep(static_cast<DWORD>(end - now));
  }
}

namespace {
std::string executablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}
}  // namespace

std::string executableDirectory() {
  const std::string full = executablePath();
  const size_t slash = full.find_last_of("\\/");
  if (slash == std::string::npos) return std::string();
  std::string folder = full.substr(0, slash);
  // "C:" alone names the drive's current folder, not its root.
  if (folder.empty() || folder.back() == ':') folder += '\\';
  return folder;
}

std::string userConfigurationFolder() {
  const char* roaming = std::getenv("APPDATA");
  return roaming != nullptr ? roaming : "";
}

namespace {
std::string systemReason(DWORD code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason = n > 0 ? std::string(text, n) : "error " + std::to_string(code);
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
  return reason;
}
}  // namespace

std::string replaceFile(const std::string& path, const std::string& text) {
  const std::string temporary = path + "." + std::to_string(GetCurrentProcessId()) + ".new";
  const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return systemReason(GetLastError());
  DWORD written = 0;
  const bool whole =
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size() && FlushFileBuffers(file);
  DWORD failure = whole ? 0 : GetLastError();
  CloseHandle(file);
  // MoveFileEx replaces the old file in one step, and WRITE_THROUGH returns
  // only once the move is on disk.
  if (whole && !MoveFileExA(temporary.c_str(), path.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    failure = GetLastError();
  }
  if (failure == 0) return std::string();
  DeleteFileA(temporary.c_str());
  return systemReason(failure);
}

bool changeDirectory(const std::string& path) {
  return SetCurrentDirectoryA(path.c_str()) != 0;
}

int captureBackTrace(void** frames, int maxFrames) {
  // The system captures at most 62 frames in one call.
  const DWORD wanted = static_cast<DWORD>(std::min(std::max(maxFrames, 0), 62));
  return CaptureStackBackTrace(0, wanted, frames, nullptr);
}

namespace {
void writeAll(DWORD which, const char* text, size_t length) {
  const HANDLE handle = GetStdHandle(which);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  while (length > 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(length, 1u << 20));
    if (!WriteFile(handle, text, chunk, &written, nullptr) || written == 0) return;
    text += written;
    length -= written;
  }
}
}  // namespace

void writeStandardError(const char* text, size_t length) {
  writeAll(STD_ERROR_HANDLE, text, length);
}

void writeStandardOutput(const char* text, size_t length) {
  writeAll(STD_OUTPUT_HANDLE, text, length);
}

bool displayAvailable() {
  // A Windows program always runs on a desktop that can show a message box.
  return true;
}

void showModalDialog(const std::string& text) {
  // No owner, the system's default caption, the stop icon.
  MessageBoxA(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONHAND);
}

namespace {

void (*faultHandler)(int) = nullptr;

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* information) {
  int signalNumber = 0;
  switch (information->ExceptionRecord->ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_STACK_OVERFLOW:
      signalNumber = SIGSEGV;
      break;
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
      signalNumber = SIGILL;
      break;
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
      signalNumber = SIGFPE;
      break;
    default:
      break;
  }
  if (signalNumber != 0 && faultHandler != nullptr) faultHandler(signalNumber);
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void onFatalFault(void (*handler)(int signalNumber)) {
  faultHandler = handler;
  SetUnhandledExceptionFilter(onUnhandledException);
}

namespace {

std::mutex childrenLock;
// The process handle of every child of spawnSelf not yet killed, by id.
std::map<int, HANDLE> children;

// Made once, never closed by hand: Windows closes it when this process ends,
// and its last handle going kills every process in it.
HANDLE childrenJob() {
  static HANDLE job = [] {
    HANDLE made = CreateJobObjectA(nullptr, nullptr);
    if (made == nullptr) return made;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    // The job's handle must not reach the children, or a child would keep
    // its own job, and itself, alive.
    SetHandleInformation(made, HANDLE_FLAG_INHERIT, 0);
    return made;
  }();
  return job;
}

// One argument as the C runtime of the copy splits it back: quoted when it
// holds a space, a tab or a quote, with backslashes doubled before a quote.
std::string quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

// This process's environment with the extra entries, as the block that
// CreateProcess takes: "NAME=value" strings, each ended by a NUL, and one
// more NUL at the end.
std::string environmentBlock(const std::vector<std::string>& extraEnvironment) {
  std::string block;
  char* current = GetEnvironmentStringsA();
  if (current != nullptr) {
    for (const char* entry = current; *entry != '\0'; entry += std::strlen(entry) + 1) {
      block.append(entry).push_back('\0');
    }
    FreeEnvironmentStringsA(current);
  }
  for (const std::string& entry : extraEnvironment) block.append(entry).push_back('\0');
  block.push_back('\0');
  return block;
}

}  // namespace

int spawnSelf(const std::vector<std::string>& args,
              const std::vector<std::string>& extraEnvironment, int* output) {
  if (output != nullptr) *output = -1;
  const std::string program = executablePath();
  if (program.empty()) return -1;
  std::string commandLine;
  for (const std::string& argument : args) {
    if (!commandLine.empty()) commandLine += ' ';
    commandLine += quoted(argument);
  }
  std::string environment = environmentBlock(extraEnvironment);

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  HANDLE reading = nullptr;
  HANDLE writing = nullptr;
  if (output != nullptr) {
    // Only the writing end is inherited, and only by this child: it is the
    // copy's standard output; its standard error stays this process's.
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    if (!CreatePipe(&reading, &writing, &inherited, 0)) return -1;
    SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writing;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION process{};
  // Suspended until it is in the job, so that it never runs outside it.
  const BOOL made =
      CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, output != nullptr,
                     CREATE_SUSPENDED, &environment[0], nullptr, &startup, &process);
  if (writing != nullptr) CloseHandle(writing);
  if (!made) {
    if (reading != nullptr) CloseHandle(reading);
    return -1;
  }
  const HANDLE job = childrenJob();
  if (job != nullptr) AssignProcessToJobObject(job, process.hProcess);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  const int pid = static_cast<int>(process.dwProcessId);
  {
    std::lock_guard<std::mutex> guard(childrenLock);
    children[pid] = process.hProcess;
  }
  if (output != nullptr) *output = static_cast<int>(reinterpret_cast<intptr_t>(reading));
  return pid;
}

long readWithin(int descriptor, char* buffer, size_t size, int timeoutMs) {
  const HANDLE pipe = reinterpret_cast<HANDLE>(static_cast<intptr_t>(descriptor));
  if (timeoutMs < 0) {
    DWORD got = 0;
    if (!ReadFile(pipe, buffer, static_cast<DWORD>(std::min<size_t>(size, 1u << 20)), &got,
                  nullptr)) {
      return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    }
    return static_cast<long>(got);
  }
  const uint64_t deadline = monotonicMilliseconds() + static_cast<uint64_t>(std::max(timeoutMs, 0));
  for (;;) {
    // An anonymous pipe cannot be waited on with a time limit; it is asked
    // how much it holds, in short steps, until something comes.
    DWORD pending = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &pending, nullptr)) {
      return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    }
    if (pending > 0) {
      DWORD got = 0;
      const DWORD wanted = static_cast<DWORD>(std::min<size_t>({size, pending, 1u << 20}));
      if (!ReadFile(pipe, buffer, wanted, &got, nullptr)) {
        return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
      }
      return static_cast<long>(got);
    }
    if (monotonicMilliseconds() >= deadline) return -1;
    Sleep(5);
  }
}

void closeDescriptor(int descriptor) {
  if (descriptor >= 0) CloseHandle(reinterpret_cast<HANDLE>(static_cast<intptr_t>(descriptor)));
}

void killChild(int pid) {
  HANDLE process = nullptr;
  {
    std::lock_guard<std::mutex> guard(childrenLock);
    auto found = children.find(pid);
    if (found == children.end()) return;
    process = found->second;
    children.erase(found);
  }
  TerminateProcess(process, 0);
  WaitForSingleObject(process, INFINITE);
  CloseHandle(process);
}

bool dieWithParent() {
  // spawnSelf put this process in its parent's kill-on-close job before it
  // ran: the parent's end ends it already.
  return true;
}

}  // namespace platform
