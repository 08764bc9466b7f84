// The meter laid out for the density of the monitor it is on, and brought back onto the
// screen when the screens change under it.
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

// At start-up: the layout for the density of the monitor the loaded bounds put the meter
// on. A size the settings did not give is the design's at that density; the bounds the
// settings gave are pixels and stay.
void TMainForm::PlaceForDensity(WindowBounds& bounds, const WindowBounds& design_bounds) {
  const int density = StartDensity(bounds);
  if (density == layout_.Density()) return;
  layout_.SetDensity(density, Handle());
  const SizedAt design = DesignClientSize(layout_.DesignTextHeight());
  const RECT outer = OuterRectOf(Handle(), design.Width, design.Height, density);
  if (bounds.Width == design_bounds.Width) bounds.Width = outer.right - outer.left;
  if (bounds.Height == design_bounds.Height) bounds.Height = outer.bottom - outer.top;
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
  {
    // One application of the settings, after the window has its new size.
    phase_ = Phase::kChangingDensity;
    struct Reset {
      Phase& phase;
      ~Reset() { phase = Phase::kRunning; }
    } reset{phase_};
    layout_.SetDensity(density, Handle());
    settle_.End(Handle());  // the program's own move: no settle undoes it
    ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ApplySettings();
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
