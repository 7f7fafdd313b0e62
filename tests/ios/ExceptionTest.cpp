#include <gtest/gtest.h>

#include <string>

#include "ios/Exception.h"

TEST(Exception, TravelsAsAPointerWithItsMessageAndTheCallStackOfItsMaker) {
  std::string message, stack;
  try {
    throw new Exception("Socket creation error");
  } catch (Exception* exception) {
    message = exception->getMessage();
    stack = exception->getCallStack();
    delete exception;
  }
  EXPECT_EQ(message, "Socket creation error");
  EXPECT_EQ(stack.rfind("Call stack:\n", 0), 0u) << stack;
  EXPECT_NE(stack.find("\n> 0x"), std::string::npos) << stack;
}

TEST(Exception, PrintWritesExactlyOneLineOnStandardError) {
  Exception exception("Thread already running...");
  testing::internal::CaptureStderr();
  exception.print();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Exception thrown: Thread already running...\n");
}
