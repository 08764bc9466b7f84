#include "win32/topmost_step.h"

namespace ripplet {

StepDownPlan PlanStepDown(const std::vector<ZOrderWindow>& z_order, bool stop_at_main_window) {
  StepDownPlan plan;
  for (std::size_t i = 0; i < z_order.size(); ++i) {
    const ZOrderWindow& window = z_order[i];
    if (!window.Program) continue;
    if (!window.Topmost || (stop_at_main_window && window.MainWindow)) {
      plan.Reference = i;
      return plan;
    }
    plan.Collected.push_back(i);
  }
  return plan;
}

}  // namespace ripplet
