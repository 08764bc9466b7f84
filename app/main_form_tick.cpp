// One tick of the main timer: sample, average into the value labels, draw the next slice.
#include "app/main_form.h"
#include "display/format_rate.h"
#include "win32/win_text.h"

namespace ripplet {

void TMainForm::MainTimerTimer() {
  RatePair pair;
  last_no_data_ = sampler_.SampleTraffic(settings_.AdapterName, pair);
  rates_ = pair;
  if (last_no_data_) {
    // A partly filled average carries over the ticks without data.
    SetValueTexts(L"-", L"-");
  } else if (auto average =
                 averager_.AddDataTick(pair.Recv, pair.Send, settings_.ValueInterval)) {
    const auto text = [this](std::int64_t rate) {
      return AnsiToWide(
          FormatRate(rate, unit_.Divisor, unit_.Letter, unit_decimals_, decimal_separator_));
    };
    SetValueTexts(text(average->Recv), text(average->Send));
  }

  // While the graph is hidden the tick samples and averages but draws nothing.
  if (!layout_.GraphVisible || graph_.Height() == 0) return;
  const int h = graph_.Height();
  graph_.Tick(SeriesY(h, pair.Send, unit_.Divisor,
                      SeriesRange(true, settings_.GraphRange, settings_.GraphSendRange)),
              SeriesY(h, pair.Recv, unit_.Divisor,
                      SeriesRange(false, settings_.GraphRange, settings_.GraphSendRange)));
  // The bitmap is the graph's buffer: one blit puts the new slice on the screen, with no
  // trip through WM_PAINT (which repaints from the same bitmap when it must).
  if (visible_) MeterPainter::ShowGraph(Handle(), layout_, graph_);
}

}  // namespace ripplet
