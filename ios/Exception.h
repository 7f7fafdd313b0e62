// The system's one exception type: a fixed English message and the call stack
// of the thread that made it.
//
// Always created with new and thrown as a pointer; whoever catches it owns it,
// reports it (as a rule with print()) and deletes it.
//
// Thread safety: none needed; an Exception belongs to the thread handling it.
#ifndef VANTOR_IOS_EXCEPTION_H_
#define VANTOR_IOS_EXCEPTION_H_

#include <string>

class Exception {
 public:
  explicit Exception(const std::string& message);
  ~Exception();

  const char* getMessage() const { return message_.c_str(); }
  const char* getCallStack() const { return callStack_.c_str(); }
  // One line on standard error: "Exception thrown: <message>".
  void print() const;

 private:
  std::string message_;
  std::string callStack_;
};

#endif  // VANTOR_IOS_EXCEPTION_H_
