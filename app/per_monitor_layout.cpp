#include "app/per_monitor_layout.h"

#include <algorithm>
#include <limits>

#include "app/label_layout.h"
#include "settings/settings_io.h"

namespace ripplet {
namespace {

constexpr int kDesignClientWidth = 304;
constexpr int kDesignClientHeight = 68;

// value x to / from, rounded half away from zero, held to 32 bits.
int Rescale(int value, int to, int from) noexcept {
  if (from <= 0) return value;
  const std::int64_t p = static_cast<std::int64_t>(value) * to;
  const std::int64_t q = p >= 0 ? (p + from / 2) / from : (p - from / 2) / from;
  return static_cast<int>(std::clamp<std::int64_t>(q, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace

int FormFontHeight(int density) noexcept { return Rescale(-12, density, 96); }

LineSpacings DesignSpacings(int text_height, const LineSpacings& extra) noexcept {
  const auto s = [text_height](int v) { return ScaleDesign(v, text_height); };
  const LineSpacings measured{s(17) - s(17), s(37) - s(30), s(48) - s(48), 0};
  LineSpacings spacings{};
  for (std::size_t i = 0; i < spacings.size(); ++i) {
    spacings[i] = LimitedSpacing(measured[i], extra[i]);
  }
  return spacings;
}

std::int32_t ValueFontHeightAt(std::int32_t height, int made_at, int density) {
  if (density == made_at) return height;
  return FontHeightFromSize(FontSizeFromHeight(height, made_at), density);
}

std::int32_t CaptionFontHeightAt(std::int32_t value_height, int made_at, int density) {
  // A hand-edited size at the 32-bit limit must not wrap.
  const std::int64_t size = std::int64_t{FontSizeFromHeight(value_height, made_at)} - 2;
  return FontHeightFromSize(static_cast<std::int32_t>(std::max<std::int64_t>(
                                size, std::numeric_limits<std::int32_t>::min())),
                            density);
}

SizedAt DesignClientSize(int text_height) noexcept {
  return {text_height, ScaleDesign(kDesignClientWidth, text_height),
          ScaleDesign(kDesignClientHeight, text_height)};
}

SizedAt ClientSizeAt(const SizedAt& given, int text_height) noexcept {
  if (text_height == given.TextHeight) return given;
  const SizedAt design_then = DesignClientSize(given.TextHeight);
  const SizedAt design_now = DesignClientSize(text_height);
  return {text_height,
          given.Width == design_then.Width ? design_now.Width
                                           : Rescale(given.Width, text_height, given.TextHeight),
          given.Height == design_then.Height
              ? design_now.Height
              : Rescale(given.Height, text_height, given.TextHeight)};
}

SizedAt OuterSizeAt(int outer_width, int outer_height, const FrameExtent& frame_then,
                    int text_height_then, const FrameExtent& frame_now,
                    int text_height_now) noexcept {
  // A hand-edited size at the 32-bit limits must not wrap on the way.
  const auto held = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
  };
  const SizedAt client =
      ClientSizeAt({text_height_then, held(std::int64_t{outer_width} - frame_then.Width),
                    held(std::int64_t{outer_height} - frame_then.Height)},
                   text_height_now);
  return {text_height_now, held(std::int64_t{client.Width} + frame_now.Width),
          held(std::int64_t{client.Height} + frame_now.Height)};
}

}  // namespace ripplet
