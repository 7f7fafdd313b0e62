// Sets or removes one environment variable for the life of a scope and puts
// the old value back afterwards. Used to hide the display from code that
// would otherwise open a dialog.
#ifndef VANTOR_TESTS_IOS_ENVIRONMENTGUARD_H_
#define VANTOR_TESTS_IOS_ENVIRONMENTGUARD_H_

#include <stdlib.h>

#include <string>

class EnvironmentGuard {
 public:
  explicit EnvironmentGuard(const char* name) : name_(name) {
    const char* value = getenv(name);
    hadValue_ = value != nullptr;
    if (hadValue_) oldValue_ = value;
  }
  ~EnvironmentGuard() {
    if (hadValue_) {
      setenv(name_.c_str(), oldValue_.c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  void set(const char* value) { setenv(name_.c_str(), value, 1); }
  void remove() { unsetenv(name_.c_str()); }

 private:
  std::string name_;
  bool hadValue_;
  std::string oldValue_;
};

#endif  // VANTOR_TESTS_IOS_ENVIRONMENTGUARD_H_
