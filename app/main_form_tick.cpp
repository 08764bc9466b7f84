// One tick of the main timer.
#include "app/main_form.h"

namespace ripplet {

void TMainForm::MainTimerTimer() {
  last_no_data_ = sampler_.SampleTraffic(settings_.AdapterName, rates_);
}

}  // namespace ripplet
