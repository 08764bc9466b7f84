// The per-monitor layout: what the meter's layout takes from the density of the monitor it
// is on, by the rules that lay it out at start-up with that density in place of the
// screen's. Plain arithmetic; the shell finds the densities and measures the fonts.
#pragma once

#include <cstdint>

#include "settings/settings.h"

namespace ripplet {

// The form font's height at a density: -12 pixels at 96 pixels per inch.
int FormFontHeight(int density) noexcept;

// The label column's gaps in the design layout scaled to a form-font text height (0, 7 and
// 0 at 96 pixels per inch; 0 in the compact layout), each plus the settings file's extra.
LineSpacings DesignSpacings(int text_height, const LineSpacings& extra) noexcept;

// The value font's height at `density`, from the settings' height made at `made_at`. At
// that density the height stays as it is (the font dialog can give one between two point
// sizes); at another it goes through the point size, so a size always comes back.
std::int32_t ValueFontHeightAt(std::int32_t height, int made_at, int density);

// The caption font: the value font two points smaller, at `density`.
std::int32_t CaptionFontHeightAt(std::int32_t value_height, int made_at, int density);

// A client size and the form-font text height it was given at (by the settings, the user
// or the start-up design).
struct SizedAt {
  int TextHeight = 12;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const SizedAt&, const SizedAt&) = default;
};

// The client size for another text height: the design size stays the design size, any
// other is scaled and rounded; at the height it was given at it is that size exactly, so a
// meter dragged across monitors and back has the size it had.
SizedAt ClientSizeAt(const SizedAt& given, int text_height) noexcept;

// The design's client size at a text height (304 x 68 at 12).
SizedAt DesignClientSize(int text_height) noexcept;

// How much wider and taller the frame makes the window than its client area, at a density.
struct FrameExtent {
  int Width = 0;
  int Height = 0;
};

// An outer size taken at one density (its frame and form-font text height there), brought to
// another by the rule a move there follows: the client size by ClientSizeAt, plus the frame
// of the new density. A design-sized meter becomes the design there.
SizedAt OuterSizeAt(int outer_width, int outer_height, const FrameExtent& frame_then,
                    int text_height_then, const FrameExtent& frame_now,
                    int text_height_now) noexcept;

}  // namespace ripplet
