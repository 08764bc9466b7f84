// The arithmetic of the scrolling graph: where the middle line and each
// series' point lie, and the averaging of rates for the value labels.
#pragma once

#include <cstdint>
#include <optional>

namespace ripplet {

// y of the middle line in a bitmap `height` pixels high: H * (1 - middle /
// range) with a 64-bit mantissa, truncated toward zero. nullopt when the
// range is 0 or below or the result is not a number: then nothing is drawn.
std::optional<int> MiddleY(int height, double graph_middle, double graph_range) noexcept;

// y of a series' point for `rate` bytes per second: (H - 1) - H * ((rate /
// divisor) / range) truncated. y may lie outside the bitmap (a rate of one
// range gives -1) but is kept within +-kGraphYLimit. nullopt as for MiddleY.
std::optional<int> SeriesY(int height, std::int64_t rate, double divisor, double range) noexcept;

// The full scale of one series: the send series has its own when it is > 0.
double SeriesRange(bool is_send, double graph_range, double graph_send_range) noexcept;

// Far enough outside any bitmap to look the same, and small enough for GDI
// to draw lines to exactly and for y arithmetic never to overflow.
inline constexpr int kGraphYLimit = 1000000;

struct RateAverage {
  std::int64_t Recv;
  std::int64_t Send;
};

// Sums the rates of the data ticks and yields their average every
// `value_interval` data ticks. Ticks without data are not added, so a
// partly filled average carries over them.
class RateAverager {
 public:
  void Reset() noexcept;
  // Adds one data tick. When it completes an interval, returns the averages
  // (sum / interval, truncated toward zero) and starts afresh. An interval
  // below 1 counts as 1.
  std::optional<RateAverage> AddDataTick(std::int64_t recv, std::int64_t send,
                                         std::int32_t value_interval) noexcept;

 private:
  std::int64_t recv_sum_ = 0;
  std::int64_t send_sum_ = 0;
  std::int64_t tick_count_ = 0;
};

}  // namespace ripplet
