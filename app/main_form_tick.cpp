// The main timer: started by every application of the settings, and each tick samples,
// averages into the value labels and draws the graph's next slice.
#include "app/main_form.h"
#include "display/graph_math.h"
#include "win32/app_error.h"
#include "win32/win_text.h"

namespace ripplet {

void TMainForm::MainTimerTimer() {
  if (adapter_pending_) {
    // A window never painted (shown nowhere): this tick takes the baseline, and the first
    // rate comes a whole interval after it.
    SelectPendingAdapter();
    StartMainTimer();
    return;
  }
  RatePair pair;
  const bool no_data = SampleFollowed(pair);
  // Counted whether or not the window shows: the bytes behind the rates, never a baseline.
  const Sampler::Growth& growth = sampler_.LastGrowth();
  if (growth.Recv != 0 || growth.Send != 0) CountUsage(growth);
  if (auto texts = readout_.Tick(no_data ? std::nullopt : std::optional<RatePair>(pair),
                                 settings_.ValueInterval, decimal_separator_)) {
    const auto change =
        layout_.SetValueTexts(Handle(), AnsiToWide(texts->Recv), AnsiToWide(texts->Send));
    accessible_.TextsChanged(Handle(), change.Recv, change.Send);
  }

  // While the graph is hidden the tick samples and averages but draws nothing.
  const MainLayout& layout = layout_.Current();
  if (!layout.GraphVisible || graph_.Height() == 0) return;
  const int h = graph_.Height();
  const double divisor = readout_.Unit().Divisor;
  const bool changed =
      graph_.Tick(SeriesY(h, pair.Send, divisor,
                          SeriesRange(true, settings_.GraphRange, settings_.GraphSendRange)),
                  SeriesY(h, pair.Recv, divisor,
                          SeriesRange(false, settings_.GraphRange, settings_.GraphSendRange)));
  // The bitmap is the graph's buffer: one blit puts the new slice on the screen, with no
  // trip through WM_PAINT (which repaints from the same bitmap when it must). A tick of an
  // idle line that changed no pixel shows nothing.
  if (changed && hover_.Visible()) MeterPainter::ShowGraph(Handle(), layout, graph_);
}

void TMainForm::StartMainTimer() {
  StopMainTimer();
  // An interval of 0 or below (only from a hand-edited file) leaves the timer stopped.
  if (settings_.Interval <= 0) return;
  if (::SetTimer(Handle(), kMainTimerId, static_cast<UINT>(settings_.Interval), nullptr) == 0) {
    throw AppError(L"タイマーを取得できません");
  }
  main_timer_running_ = true;
}

void TMainForm::StopMainTimer() noexcept {
  if (main_timer_running_) ::KillTimer(Handle(), kMainTimerId);
  main_timer_running_ = false;
}

}  // namespace ripplet
