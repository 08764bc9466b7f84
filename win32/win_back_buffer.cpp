#include "win32/win_back_buffer.h"

#include <algorithm>

namespace ripplet {

HDC BackBuffer::Fit(HDC screen, SIZE size) noexcept {
  if (!dc_) dc_ = BitmapDc(screen);
  if (!dc_) return nullptr;
  if (!dc_.HasBitmap() || size.cx != size_.cx || size.cy != size_.cy) {
    // An empty client still gets a 1 x 1 bitmap: a bitmap of no size cannot be made.
    dc_.Select(UniqueBitmap(
        ::CreateCompatibleBitmap(screen, std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1))));
    if (!dc_.HasBitmap()) return nullptr;
    size_ = size;
  }
  return dc_.get();
}

}  // namespace ripplet
