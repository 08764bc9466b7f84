// Moving the settings between the main window and its settings store.
#include "app/bounds_rules.h"
#include "app/main_form.h"
#include "app/win_frame.h"
#include "win32/win_application.h"
#include "win32/win_text.h"

namespace ripplet {
namespace {

WindowBounds BoundsOf(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

void TMainForm::LoadSettings() {
  WindowBounds bounds = BoundsOf(Handle());
  // The file's spacings come back alone and are added to the layout's.
  LineSpacings extra{};
  const WindowBounds design_bounds = bounds;
  const LoadReport report =
      store_.Load(settings_, bounds, extra, layout_.FontDensity(), decimal_separator_);
  layout_.AddSpacings(extra);
  // Bounds saved on a monitor that is gone would leave the meter where nobody can reach it.
  bounds = FitIntoWorkAreas(bounds, WorkAreas());
  PlaceForDensity(bounds, design_bounds);
  ::SetWindowPos(Handle(), nullptr, bounds.Left, bounds.Top, bounds.Width, bounds.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  TakeSettingsBaseline();
  const SIZE client = ClientSize(Handle());
  frame_.SizeGiven({layout_.DesignTextHeight(), client.cx, client.cy});
  if (store_.StartedUnreadable()) ShowApplicationError(store_.Path() + L" を読み込めません");
  // A bad colour took its default and loading went on; the user still hears about it.
  for (const std::string& value : report.BadColourValues) {
    ShowApplicationError(L"'" + AnsiToWide(value) + L"' は整数ではありません");
  }
}

void TMainForm::TakeSettingsBaseline() { store_.TakeBaseline(settings_, BoundsOf(Handle())); }

void TMainForm::SaveSettings() {
  store_.Save(settings_, BoundsOf(Handle()), layout_.FontDensity(), decimal_separator_);
  ::UpdateWindow(Handle());
}

}  // namespace ripplet
