// Which of the program's topmost windows step down when the program goes to the back, and
// where they go: plain, so that the walk can be tested without a window manager.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace ripplet {

// One top-level window, as the walk meets it in z-order from the top.
struct ZOrderWindow {
  bool Program = false;  // owned by the application window, directly or through another
                         // owned window (a dialog owned by the main window)
  bool Topmost = false;
  bool MainWindow = false;  // the program's main window
};

struct StepDownPlan {
  std::vector<std::size_t> Collected;    // the windows to make non-topmost, top first
  std::optional<std::size_t> Reference;  // they go right after the window above it;
                                         // none: the application window is the reference
};

// Walks `z_order` from the top, skipping other programs' windows: collects the program's
// topmost windows up to its first one that is not topmost (the reference). With
// `stop_at_main_window` (the program lost activation) the main window also stops the walk
// and keeps its place, so only windows above it (an open dialog) step down.
StepDownPlan PlanStepDown(const std::vector<ZOrderWindow>& z_order, bool stop_at_main_window);

}  // namespace ripplet
