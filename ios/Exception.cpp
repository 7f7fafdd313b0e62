#include "ios/Exception.h"

#include <cstdio>

#include "ios/CrashReporter.h"

Exception::Exception(const std::string& message)
    : message_(message), callStack_(captureCallStack()) {}

Exception::~Exception() = default;

void Exception::print() const {
  std::fprintf(stderr, "Exception thrown: %s\n", message_.c_str());
}
