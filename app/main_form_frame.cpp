// The borderless frame: drag by the graph, the lock, the minimum size, snapping and
// translucency.
#include "app/main_form.h"
#include "app/win_frame.h"

namespace ripplet {
namespace {

constexpr WPARAM kMoveByCaption = 0xF012;  // SC_MOVE with the caption hit code 2

}  // namespace

void TMainForm::SetOpacity(std::uint8_t alpha) {
  // Setting the value it already has makes no platform call.
  if (alpha == alpha_value_) return;
  alpha_value_ = alpha;
  if (Handle() != nullptr) ApplyOpacity(Handle(), alpha_value_);
}

void TMainForm::GraphImageMouseDown(int x, int y) {
  if (settings_.LockWindow) return;
  // The press left the capture with us; the platform's move loop needs it released.
  ::ReleaseCapture();
  ::SendMessageW(Handle(), WM_SYSCOMMAND, kMoveByCaption,
                 MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

LRESULT TMainForm::FrameHitTest(WPARAM wparam, LPARAM lparam) {
  return LockedHitTest(static_cast<long>(DefaultProcessing(WM_NCHITTEST, wparam, lparam)),
                       settings_.LockWindow);
}

void TMainForm::LimitTrackSize(MINMAXINFO& info) const {
  const MinimumSize minimum = MinimumTrackSize(pixels_per_inch_);
  info.ptMinTrackSize = {minimum.Width, minimum.Height};
}

void TMainForm::SnapToWorkArea(WINDOWPOS& pos) const {
  if (!screen_snap_) return;
  if (pos.x == 0 && pos.y == 0) return;
  RECT current{};
  ::GetWindowRect(Handle(), &current);
  const SnapResult snapped = Snap(pos.x, pos.y, current.right - current.left,
                                  current.bottom - current.top, WorkAreaNear(Handle()));
  pos.x = snapped.X;
  pos.y = snapped.Y;
}

}  // namespace ripplet
