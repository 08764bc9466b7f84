#include "app/rate_readout.h"

#include "display/format_rate.h"

namespace ripplet {

void RateReadout::Restart(std::string_view unit_text) {
  averager_.Reset();
  shown_.reset();
  unit_ = ParseUnit(unit_text);
  decimals_ = UnitDecimals(unit_text);
}

std::optional<RateReadout::Texts> RateReadout::Tick(const std::optional<RatePair>& rates,
                                                    std::int32_t value_interval,
                                                    std::string_view decimal_separator) {
  if (!rates) {
    shown_.reset();
    return Texts{"-", "-"};
  }
  const auto average = averager_.AddDataTick(rates->Recv, rates->Send, value_interval);
  if (!average) return std::nullopt;
  if (shown_ && shown_->Recv == average->Recv && shown_->Send == average->Send &&
      shown_separator_ == decimal_separator) {
    return std::nullopt;
  }
  shown_ = average;
  shown_separator_ = decimal_separator;
  const auto text = [&](std::int64_t rate) {
    return FormatRate(rate, unit_.Divisor, unit_.Letter, decimals_, decimal_separator);
  };
  return Texts{text(average->Recv), text(average->Send)};
}

}  // namespace ripplet
