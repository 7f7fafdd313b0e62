#include <gtest/gtest.h>

#include <string>

#include "ios/Exception.h"

TEST(Exception, KeepsTheMessageItWasMadeWith) {
  Exception exception("Socket creation error");
  EXPECT_STREQ(exception.getMessage(), "Socket creation error");
}

TEST(Exception, TravelsAsAPointerThatTheCatcherDeletes) {
  std::string caught;
  try {
    throw new Exception("thrown");
  } catch (Exception* exception) {
    caught = exception->getMessage();
    delete exception;
  }
  EXPECT_EQ(caught, "thrown");
}

TEST(Exception, PrintWritesExactlyOneLineOnStandardError) {
  Exception exception("Thread already running...");
  testing::internal::CaptureStderr();
  exception.print();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Exception thrown: Thread already running...\n");
}

TEST(Exception, RecordsTheCallStackOfItsMaker) {
  Exception exception("anything");
  const std::string stack = exception.getCallStack();
  EXPECT_EQ(stack.rfind("Call stack:\n", 0), 0u) << stack;
  EXPECT_NE(stack.find("\n> 0x"), std::string::npos) << stack;
}
