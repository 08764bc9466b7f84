// The error box's closing period: added only after a character that sorts after ".".
#include "win32/app_error.h"

#include <gtest/gtest.h>

namespace ripplet {
namespace {

TEST(WithClosingPeriod, AddsAPeriodOnlyAfterACharacterThatSortsAfterIt) {
  EXPECT_EQ(WithClosingPeriod(L"タイマーを取得できません"), L"タイマーを取得できません.");
  EXPECT_EQ(WithClosingPeriod(L"file/"), L"file/.") << "'/' sorts right after '.'";
  // The side that adds nothing: a period already there, and every character before it.
  EXPECT_EQ(WithClosingPeriod(L"done."), L"done.");
  EXPECT_EQ(WithClosingPeriod(L"value -"), L"value -");
  EXPECT_EQ(WithClosingPeriod(L"stop!"), L"stop!");
  EXPECT_EQ(WithClosingPeriod(L"(x)"), L"(x)");
  EXPECT_EQ(WithClosingPeriod(L"a "), L"a ");
  EXPECT_EQ(WithClosingPeriod(L""), L"");
}

}  // namespace
}  // namespace ripplet
