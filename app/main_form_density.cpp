// The meter laid out for the density of the monitor it is on, and brought back onto the
// screen when the screens change under it.
#include <algorithm>
#include <cstdint>

#include "app/bounds_rules.h"
#include "app/main_form.h"
#include "app/win_frame.h"
#include "win32/win_dpi.h"
#include "win32/win_system_functions.h"

namespace ripplet {
namespace {

RECT OuterRectOf(HWND hwnd, int client_width, int client_height, int density) {
  return OuterRectAt({0, 0, client_width, client_height},
                     static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)),
                     static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE)), density);
}

ScreenRect ScreenRectOf(const WindowBounds& b) noexcept {
  // A hand-edited size must not wrap.
  const auto edge = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
  };
  return {b.Left, b.Top, edge(std::int64_t{b.Left} + b.Width),
          edge(std::int64_t{b.Top} + b.Height)};
}

}  // namespace

int TMainForm::StartDensity(const WindowBounds& bounds) const noexcept {
  const RECT r{bounds.Left, bounds.Top, bounds.Left + bounds.Width, bounds.Top + bounds.Height};
  const SystemFunctions& system = System();
  if (!system.MonitorFromRect || !system.MonitorFromWindow) return WindowDensity(Handle());
  HMONITOR monitor = system.MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
  // The window's own monitor needs no more than user32.
  if (monitor == system.MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST)) {
    return WindowDensity(Handle());
  }
  return MonitorDensity(monitor);
}

FrameExtent TMainForm::FrameAt(int density) const noexcept {
  const RECT outer = OuterRectOf(Handle(), 0, 0, density);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

// At start-up: the layout for the density of the monitor the loaded bounds put the meter
// on. A size the settings did not give is the design's at that density. A size stored with
// the density it was taken at comes to this one as a move here would bring it, and then
// into the work area; one stored without (an older file) is pixels and stays.
void TMainForm::PlaceForDensity(WindowBounds& bounds, const WindowBounds& design_bounds,
                                const LoadReport& report) {
  const int density = StartDensity(bounds);
  const bool density_changed = density != layout_.Density();
  if (density_changed) layout_.SetDensity(density, Handle());
  const int stored_at = bounds.Density;
  const WindowBounds stored = bounds;
  bounds.Density = density;
  if (stored_at > 0 && stored_at != density && (report.WidthStored || report.HeightStored)) {
    const SizedAt outer = OuterSizeAt(bounds.Width, bounds.Height, FrameAt(stored_at),
                                      MeterLayout::MeasureFormTextHeight(stored_at),
                                      FrameAt(density), layout_.DesignTextHeight());
    if (report.WidthStored) bounds.Width = outer.Width;
    if (report.HeightStored) bounds.Height = outer.Height;
  }
  if (density_changed) {
    const SizedAt design = DesignClientSize(layout_.DesignTextHeight());
    const RECT outer = OuterRectOf(Handle(), design.Width, design.Height, density);
    const bool known = stored_at > 0;
    if (!(known && report.WidthStored) && bounds.Width == design_bounds.Width) {
      bounds.Width = outer.right - outer.left;
    }
    if (!(known && report.HeightStored) && bounds.Height == design_bounds.Height) {
      bounds.Height = outer.bottom - outer.top;
    }
  }
  if (stored_at > 0 && stored_at != density) {
    // Snapped to edges of its work area, it stays there at its new size.
    if (settings_.SnapWindow) {
      const ScreenRect kept =
          KeepDocked(ScreenRectOf(stored), ScreenRectOf(bounds), WorkAreaAt(stored));
      bounds.Left = kept.Left;
      bounds.Top = kept.Top;
    }
    bounds = MoveInside(bounds, WorkAreaAt(bounds));
  }
}

// Asked before a change of density: the outer size to suggest. The client size is the one
// last given, scaled from the text height it was given at, so a round trip ends exactly
// where it began.
bool TMainForm::ScaledSizeFor(int density, SIZE& size) const {
  if (density <= 0) return false;
  const SizedAt client =
      ClientSizeAt(frame_.GivenSize(), MeterLayout::MeasureFormTextHeight(density));
  const RECT outer = OuterRectOf(Handle(), client.Width, client.Height, density);
  size = {outer.right - outer.left, outer.bottom - outer.top};
  return true;
}

void TMainForm::FormDpiChanged(int density, const RECT& suggested) {
  if (density <= 0) return;
  // While the loaded bounds are being applied, they stand: only the layout follows.
  if (phase_ == Phase::kCreating) {
    if (density != layout_.Density()) layout_.SetDensity(density, Handle());
    return;
  }
  // A change that comes while another is being applied (its move took the meter across yet
  // another monitor) leaves the phase as it found it: the outer change applies the settings.
  const Phase found = phase_;
  {
    // One application of the settings, after the window has its new size.
    phase_ = Phase::kChangingDensity;
    struct Reset {
      Phase& phase;
      Phase found;
      ~Reset() { phase = found; }
    } reset{phase_, found};
    layout_.SetDensity(density, Handle());
    settle_.End(Handle());  // the program's own move: no settle undoes it
    const RECT target = frame_.ScreenSnap() ? DockedPlace(suggested) : suggested;
    ::SetWindowPos(Handle(), nullptr, target.left, target.top, target.right - target.left,
                   target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (found == Phase::kRunning) ApplySettings();
}

// Snapping on, on the same monitor: the edges docked to the work area stay docked.
RECT TMainForm::DockedPlace(const RECT& suggested) const {
  RECT now{};
  ::GetWindowRect(Handle(), &now);
  const ScreenRect area = WorkAreaNear(Handle());
  const ScreenRect there{suggested.left, suggested.top, suggested.right, suggested.bottom};
  if (!(WorkAreaAt({there.Left, there.Top, there.Right - there.Left, there.Bottom - there.Top}) ==
        area)) {
    return suggested;  // moved to another monitor: its own edges snap as any move does
  }
  const ScreenRect kept = KeepDocked({now.left, now.top, now.right, now.bottom}, there, area);
  return {kept.Left, kept.Top, kept.Right, kept.Bottom};
}

// A meter that no longer touches any work area goes into the nearest one, as loaded bounds
// do; one still partly visible stays where it is.
void TMainForm::FormDisplayChange() {
  RECT r{};
  ::GetWindowRect(Handle(), &r);
  const WindowBounds now{r.left, r.top, r.right - r.left, r.bottom - r.top};
  const WindowBounds fitted = FitIntoWorkAreas(now, WorkAreas());
  if (fitted == now) return;
  settle_.End(Handle());  // the program's own move: no settle undoes it
  ::SetWindowPos(Handle(), nullptr, fitted.Left, fitted.Top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ripplet
