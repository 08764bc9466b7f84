// Applying the settings record to the live window.
#include "app/main_form.h"

namespace ripplet {

void TMainForm::ApplySettings() {
  // For now this covers the timer, the adapter lookup and the priming; the label layout,
  // the frame and the graph reset join it as those parts arrive.
  sampler_.LookupAdapter(settings_.AdapterName);
  sampler_.Prime(settings_.AdapterName);
  // Restarting the timer makes the next tick come one full interval from now.
  StartMainTimer();
}

}  // namespace ripplet
