// How it is printed is checked where a lock guard or the select server
// reports one.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ios/Exception.h"

TEST(Exception, TravelsAsAPointerWithItsMessageAndTheCallStackOfItsMaker) {
  std::unique_ptr<Exception> caught;
  try {
    throw new Exception("Socket creation error");
  } catch (Exception* exception) {
    caught.reset(exception);
  }
  ASSERT_NE(caught, nullptr);
  EXPECT_STREQ(caught->getMessage(), "Socket creation error");
  const std::string stack = caught->getCallStack();
  EXPECT_EQ(stack.rfind("Call stack:\n", 0), 0u) << stack;
  EXPECT_NE(stack.find("\n> 0x"), std::string::npos) << stack;
}
