// Moving the settings between the main window and its settings store.
#include "app/bounds_rules.h"
#include "app/main_form.h"
#include "app/win_frame.h"
#include "win32/win_application.h"
#include "win32/win_text.h"

namespace ripplet {
namespace {

// The window's bounds, and the density of the monitor they were taken on.
WindowBounds BoundsOf(HWND hwnd, int density) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top, density};
}

}  // namespace

void TMainForm::LoadSettings() {
  WindowBounds bounds = BoundsOf(Handle(), layout_.Density());
  // The file's spacings come back alone and are added to the layout's.
  LineSpacings extra{};
  const WindowBounds design_bounds = bounds;
  const LoadReport report =
      store_.Load(settings_, bounds, extra, layout_.FontDensity(), decimal_separator_);
  layout_.AddSpacings(extra);
  // Bounds saved on a monitor that is gone would leave the meter where nobody can reach it.
  bounds = FitIntoWorkAreas(bounds, WorkAreas());
  PlaceForDensity(bounds, design_bounds, report);
  // Bounds the window already has (a file without them, or the design's own) are not set
  // again: at start-up that call alone cost as much as the rest of the settings.
  if (bounds != BoundsOf(Handle(), bounds.Density)) {
    ::SetWindowPos(Handle(), nullptr, bounds.Left, bounds.Top, bounds.Width, bounds.Height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  if (!report.HeightStored) FitFullLayoutHeight();
  TakeSettingsBaseline();
  const SIZE client = ClientSize(Handle());
  frame_.SizeGiven({layout_.DesignTextHeight(), client.cx, client.cy});
  if (store_.StartedUnreadable()) ShowApplicationError(store_.Path() + L" を読み込めません");
  // A bad colour took its default and loading went on; the user still hears about it.
  for (const std::string& value : report.BadColourValues) {
    ShowApplicationError(L"'" + AnsiToWide(value) + L"' は整数ではありません");
  }
}

// A start without a stored height opens in the full layout, captions and all. The design's
// height fits it with the design's fonts; where the system's stand-in for them is taller
// (wine in an English locale), the height grows to where the labels and captions fit.
void TMainForm::FitFullLayoutHeight() {
  if (!settings_.ShowValue) return;
  FontSpec font = settings_.ValueFont;
  font.Charset = DEFAULT_CHARSET;  // as the settings are applied
  layout_.MakeLabelFonts(font);
  layout_.MeasureLabels();
  layout_.LayOut(Handle(), true);
  const int full = layout_.Current().DefaultHeight;
  if (ClientSize(Handle()).cy < full) MeterFrame::SetClientHeight(Handle(), full);
}

void TMainForm::TakeSettingsBaseline() {
  store_.TakeBaseline(settings_, BoundsOf(Handle(), layout_.Density()));
}

void TMainForm::SaveSettings() {
  store_.Save(settings_, BoundsOf(Handle(), layout_.Density()), layout_.FontDensity(),
              decimal_separator_);
  ::UpdateWindow(Handle());
}

}  // namespace ripplet
