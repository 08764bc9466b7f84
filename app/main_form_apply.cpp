// Applying the settings record to the live window: every change of settings takes effect
// here, and every resize runs it, which clears the graph.
#include "app/frame_rules.h"
#include "app/main_form.h"

namespace ripplet {

void TMainForm::ApplySettings() {
  RECT client{};
  ::GetClientRect(Handle(), &client);
  applied_size_ = {client.right, client.bottom};

  SetOpacity(OpacityOf(settings_.AlphaBlend));
  screen_snap_ = settings_.SnapWindow;

  if (settings_.ShowValue) {
    MakeLabelFonts();
    MeasureLabels();
  }
  LayOut();
  ResetGraph();

  sampler_.LookupAdapter(settings_.AdapterName);
  sampler_.Prime(settings_.AdapterName);

  graph_.ResetSeries();
  readout_.Restart(settings_.GraphUnit);

  // Restarting the timer makes the next tick come one full interval from now.
  StartMainTimer();
  hover_.Bind(Handle(), settings_.HideWindow);
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

}  // namespace ripplet
