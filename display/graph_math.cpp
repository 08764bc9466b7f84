#include "display/graph_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ripplet {

// Pixel results depend on the 64-bit mantissa: 60 * (1 - 900/1000) must
// truncate to 6, where double arithmetic gives 5.
static_assert(std::numeric_limits<long double>::digits == 64,
              "graph arithmetic needs x87 extended precision");

namespace {

bool IsUsableRange(double range) noexcept { return range > 0.0 && std::isfinite(range); }

// Truncates toward zero and limits the result to what GDI draws exactly.
std::optional<int> ToPixel(long double y) noexcept {
  if (!std::isfinite(y)) return std::nullopt;
  const long double limit = kGraphYLimit;
  return static_cast<int>(std::clamp(std::trunc(y), -limit, limit));
}

std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) noexcept {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  if (b > 0 && a > kMax - b) return kMax;
  if (b < 0 && a < kMin - b) return kMin;
  return a + b;
}

}  // namespace

std::optional<int> MiddleY(int height, double graph_middle, double graph_range) noexcept {
  if (!IsUsableRange(graph_range)) return std::nullopt;
  // In this order, as the value has always been computed.
  const long double ratio =
      static_cast<long double>(graph_middle) / static_cast<long double>(graph_range);
  return ToPixel(static_cast<long double>(height) * (1.0L - ratio));
}

std::optional<int> SeriesY(int height, std::int64_t rate, double divisor, double range) noexcept {
  if (!IsUsableRange(range)) return std::nullopt;
  const long double units = static_cast<long double>(rate) / static_cast<long double>(divisor);
  const long double v =
      std::trunc(static_cast<long double>(height) * (units / static_cast<long double>(range)));
  return ToPixel(static_cast<long double>(height) - 1.0L - v);
}

double SeriesRange(bool is_send, double graph_range, double graph_send_range) noexcept {
  return is_send && graph_send_range > 0.0 ? graph_send_range : graph_range;
}

void RateAverager::Reset() noexcept {
  recv_sum_ = 0;
  send_sum_ = 0;
  tick_count_ = 0;
}

std::optional<RateAverage> RateAverager::AddDataTick(std::int64_t recv, std::int64_t send,
                                                     std::int32_t value_interval) noexcept {
  // Sums saturate rather than overflow: only a hand-edited interval of
  // billions of ticks at terabytes per second could reach the limit.
  recv_sum_ = SaturatingAdd(recv_sum_, recv);
  send_sum_ = SaturatingAdd(send_sum_, send);
  ++tick_count_;
  const std::int64_t interval = std::max<std::int32_t>(value_interval, 1);
  if (tick_count_ < interval) return std::nullopt;
  const RateAverage average{recv_sum_ / interval, send_sum_ / interval};
  Reset();
  return average;
}

}  // namespace ripplet
