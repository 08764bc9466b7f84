// The step-down walk: which of the program's topmost windows go to the back with it.
#include "win32/topmost_step.h"

#include <gtest/gtest.h>

namespace ripplet {
namespace {

constexpr ZOrderWindow kOther{false, true, false};        // another program's topmost window
constexpr ZOrderWindow kOtherPlain{false, false, false};  // another program's ordinary window
constexpr ZOrderWindow kDialog{true, true, false};        // an open Options or About dialog
constexpr ZOrderWindow kMain{true, true, true};
constexpr ZOrderWindow kProgramPlain{true, false, false};  // a window of ours, not topmost

using Indices = std::vector<std::size_t>;

TEST(PlanStepDown, LosingActivationStepsDownOnlyWhatLiesAboveTheMainWindow) {
  // A dialog owned by the main window (owned in turn by the application window) is the
  // program's: it steps down, and the main window keeps its place as the reference.
  const StepDownPlan plan = PlanStepDown({kOther, kDialog, kOtherPlain, kMain, kOther}, true);
  EXPECT_EQ(plan.Collected, Indices{1});
  EXPECT_EQ(plan.Reference, 3u);

  const StepDownPlan two = PlanStepDown({kDialog, kDialog, kMain}, true);
  EXPECT_EQ(two.Collected, (Indices{0, 1}));
  EXPECT_EQ(two.Reference, 2u);

  EXPECT_TRUE(PlanStepDown({kOther, kMain, kDialog}, true).Collected.empty())
      << "a dialog below the main window stays";
}

TEST(PlanStepDown, ADisabledApplicationStepsDownEveryTopmostWindowUpToTheFirstPlainOne) {
  const StepDownPlan plan = PlanStepDown({kDialog, kOther, kMain, kProgramPlain, kDialog}, false);
  EXPECT_EQ(plan.Collected, (Indices{0, 2}));
  EXPECT_EQ(plan.Reference, 3u);

  // The walk never stops: the application window itself is the reference.
  const StepDownPlan all = PlanStepDown({kMain, kOtherPlain, kDialog}, false);
  EXPECT_EQ(all.Collected, (Indices{0, 2}));
  EXPECT_FALSE(all.Reference.has_value());

  EXPECT_TRUE(PlanStepDown({}, false).Collected.empty());
  EXPECT_TRUE(PlanStepDown({kOther, kOtherPlain}, true).Collected.empty());
}

}  // namespace
}  // namespace ripplet
