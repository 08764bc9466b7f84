// What a stored colour value means on screen.
#pragma once

#include <cstdint>

namespace ripplet {

// 0x00BBGGRR is a plain RGB colour; 0xFF000000 plus n is system colour n. Anything else
// (clNone, clDefault) has no RGB meaning of its own and shows as the button face.
struct ColourMeaning {
  bool IsSystem = false;
  std::uint32_t Value = 0;  // the RGB value, or the system-colour index
};

constexpr int kButtonFaceIndex = 15;

constexpr ColourMeaning MeaningOf(std::uint32_t colour) noexcept {
  if ((colour & 0xFF000000u) == 0) return {false, colour};
  if ((colour & 0xFF000000u) == 0xFF000000u && (colour & 0x00FFFFFFu) <= 30) {
    return {true, colour & 0x00FFFFFFu};
  }
  return {true, static_cast<std::uint32_t>(kButtonFaceIndex)};
}

}  // namespace ripplet
