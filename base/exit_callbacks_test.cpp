#include "base/exit_callbacks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_order;

void Append(void* param) { g_order += static_cast<const char*>(param); }

void AppendAndRegister(void* param) {
  g_order += static_cast<const char*>(param);
  base::ExitCallbacks::Add(&Append, const_cast<char*>("+"));
}

TEST(ExitCallbacksTest, RunLastRegisteredFirst) {
  g_order.clear();
  base::ExitCallbacks exit_callbacks;
  EXPECT_EQ(&exit_callbacks, base::ExitCallbacks::instance());
  base::ExitCallbacks::Add(&Append, const_cast<char*>("a"));
  base::ExitCallbacks::Add(&AppendAndRegister, const_cast<char*>("b"));
  base::ExitCallbacks::Add(&Append, const_cast<char*>("c"));
  base::ExitCallbacks::RunAll();
  // A callback registered while running runs next.
  EXPECT_EQ("cb+a", g_order);
  base::ExitCallbacks::RunAll();
  EXPECT_EQ("cb+a", g_order);
}

TEST(ExitCallbacksTest, DestructionRunsWhatIsLeftAndWithdrawsTheInstance) {
  g_order.clear();
  {
    base::ExitCallbacks outer;
    {
      base::ExitCallbacks inner;  // Shadows the outer one.
      base::ExitCallbacks::Add(&Append, const_cast<char*>("i"));
    }
    EXPECT_EQ("i", g_order);
    EXPECT_EQ(&outer, base::ExitCallbacks::instance());
    base::ExitCallbacks::Add(&Append, const_cast<char*>("o"));
  }
  EXPECT_EQ("io", g_order);
  EXPECT_EQ(nullptr, base::ExitCallbacks::instance());
}

TEST(ExitCallbacksTest, WithoutAnInstanceNothingHappens) {
  g_order.clear();
  ASSERT_EQ(nullptr, base::ExitCallbacks::instance());
  base::ExitCallbacks::Add(&Append, const_cast<char*>("x"));
  base::ExitCallbacks::RunAll();
  base::ExitCallbacks later;
  base::ExitCallbacks::RunAll();
  EXPECT_EQ("", g_order);
}

}  // namespace
