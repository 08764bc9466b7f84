// What the two value labels read: the average of the last value-interval data ticks in
// the graph's unit, or "-" on a tick without data. Plain: the window shows the texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "display/graph_math.h"
#include "display/units.h"
#include "sampling/rate.h"

namespace ripplet {

class RateReadout {
 public:
  struct Texts {
    std::string Recv, Send;  // ANSI bytes
  };

  // A new unit (or any change of settings): the average starts again.
  void Restart(std::string_view unit_text);

  const UnitParams& Unit() const noexcept { return unit_; }

  // One tick's rates, or none. Returns the texts when they are due: "-" on a tick without
  // data (a partly filled average carries over it), the average once an interval is full,
  // unless it would read as the labels already do (an idle line's every tick).
  std::optional<Texts> Tick(const std::optional<RatePair>& rates, std::int32_t value_interval,
                            std::string_view decimal_separator);

 private:
  RateAverager averager_;
  UnitParams unit_{1.0, 0};
  int decimals_ = 0;
  // What the labels were last given, to tell an unchanged average without formatting it.
  std::optional<RateAverage> shown_;
  std::string shown_separator_;
};

}  // namespace ripplet
