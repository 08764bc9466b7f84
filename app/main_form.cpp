#include "app/main_form.h"

#include <algorithm>

#include "app/command_line.h"
#include "dialogs/help.h"
#include "win32/app_error.h"
#include "win32/win_application.h"
#include "win32/win_dpi.h"
#include "win32/win_handles.h"
#include "win32/win_text.h"

#include <windowsx.h>

namespace ripplet {
namespace {

constexpr wchar_t kClassName[] = L"TMainForm";
constexpr int kDesignClientWidth = 304;
constexpr int kDesignClientHeight = 68;
constexpr DWORD kStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_THICKFRAME;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

}  // namespace

TMainForm::TMainForm(TrafficSource& source, Startup startup)
    : startup_(std::move(startup)), source_(source), sampler_(source) {}

TMainForm::~TMainForm() {
  // Destroy while this object is whole, so that FormDestroy runs and frees its objects.
  if (Handle() != nullptr) ::DestroyWindow(Handle());
}

void TMainForm::Create(HWND owner) {
  RegisterClassOnce(kClassName, CS_DBLCLKS | CS_OWNDC,
                    ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)),
                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  layout_.Begin(ScreenDensity());
  decimal_separator_ = RegionalDecimalSeparator();
  const int text_height = layout_.DesignTextHeight();
  frame_.SizeGiven(DesignClientSize(text_height));
  RECT outer{0, 0, ScaleDesign(kDesignClientWidth, text_height),
             ScaleDesign(kDesignClientHeight, text_height)};
  ::AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
  CreateNative(kClassName, L"Ripplet", kStyle, kExStyle, 32, 32, outer.right - outer.left,
               outer.bottom - outer.top, owner);
}

void TMainForm::Show() { hover_.Show(Handle()); }

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      // Layered from creation, opaque until the settings say otherwise.
      frame_.SetOpacity(Handle(), 255);
      CreatePopupMenu();
      FormCreate();
      return 0;
    case WM_NCHITTEST:
      // Read live, so a lock takes effect at once.
      return LockedHitTest(static_cast<long>(DefaultProcessing(message, wparam, lparam)),
                           settings_.LockWindow);
    case WM_GETMINMAXINFO:
      DefaultProcessing(message, wparam, lparam);
      MeterFrame::LimitTrackSize(*reinterpret_cast<MINMAXINFO*>(lparam), layout_.Density());
      return 0;
    case WM_WINDOWPOSCHANGING:
      frame_.SnapToWorkArea(Handle(), *reinterpret_cast<WINDOWPOS*>(lparam));
      return DefaultProcessing(message, wparam, lparam);
    case WM_WINDOWPOSCHANGED: {
      const auto& pos = *reinterpret_cast<const WINDOWPOS*>(lparam);
      settle_.CheckMove(Handle(), pos);
      if ((pos.flags & SWP_SHOWWINDOW) != 0) accessible_.WindowShown(Handle());
      return DefaultProcessing(message, wparam, lparam);
    }
    case WM_ENTERSIZEMOVE:
    case WM_NCLBUTTONDOWN:
      // The user moves or sizes the window from here on.
      settle_.End(Handle());
      return DefaultProcessing(message, wparam, lparam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {  // the class takes double clicks; a second press moves all the same
      settle_.End(Handle());
      const POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      const MainLayout& layout = layout_.Current();
      const LayoutRect& g = layout.Graph;
      if (layout.GraphVisible && p.x >= g.Left && p.x < g.Right() && p.y >= g.Top &&
          p.y < g.Bottom()) {
        GraphImageMouseDown(p.x - g.Left, p.y - g.Top);
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) FormActivate();
      return DefaultProcessing(message, wparam, lparam);
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_DPICHANGED:
      FormDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_GETDPISCALEDSIZE:
      return ScaledSizeFor(static_cast<int>(wparam), *reinterpret_cast<SIZE*>(lparam)) ? TRUE
                                                                                       : FALSE;
    case WM_DISPLAYCHANGE:
      FormDisplayChange();
      return DefaultProcessing(message, wparam, lparam);
    case WM_PAINT:
      painter_.Paint(Handle(), {layout_.Current(), graph_, layout_.CaptionFont(),
                                layout_.ValueFont(), layout_.RecvText(), layout_.SendText()});
      if (adapter_pending_) FirstPaintDone();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_TIMER:
      // The re-show timer's tick does nothing: it only wakes the idle step.
      if (wparam == kMainTimerId) MainTimerTimer();
      if (wparam == PositionSettle::kTimerId) settle_.End(Handle());
      if (wparam == kFollowTimerId) FollowDefaultRoute(false);
      if (wparam == kUsageTimerId) SaveUsage();
      if (wparam == kFirstSampleTimerId) SelectPendingAdapter();
      return 0;
    case kRouteChangedMessage:
      route_notices_.Handled();
      FollowDefaultRoute(false);
      return 0;
    case WM_CONTEXTMENU:
      ShowContextMenu(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    case WM_GETOBJECT:
      if (const auto answer = accessible_.Answer(Handle(), wparam, lparam)) return *answer;
      return DefaultProcessing(message, wparam, lparam);
    case WM_CLOSE:
      FormCloseQuery();
      return 0;
    case WM_QUERYENDSESSION:
      // Logging off closes the program too: save, and never hold up the log-off. The
      // application window passes the query on and this window is asked as well: one save
      // (and at most one error box) per log-off. The usage counts go first.
      SaveUsage();
      if (store_.TakeLogOffSave()) {
        try {
          SaveSettings();
        } catch (...) {
          ShowCurrentError();
        }
      }
      return TRUE;
    case WM_ENDSESSION:
      // The log-off went ahead or was called off; the next one saves again. Going ahead,
      // the process may end at any moment from here: what was counted since is kept.
      if (wparam) SaveUsage();
      store_.LogOffOver();
      return 0;
    case WM_POWERBROADCAST:
      // Sent at every resume; PBT_APMRESUMESUSPEND follows it only when a user is there,
      // maybe much later, and would cost the graph a second tick without data.
      // The network may have changed meanwhile: the automatic adapter looks again at once.
      if (wparam == PBT_APMRESUMEAUTOMATIC) {
        sampler_.Resumed();
        FollowDefaultRoute(false);
      }
      // The machine may never wake (a flat battery): keep what was counted before it sleeps.
      if (wparam == PBT_APMSUSPEND) SaveUsage();
      return DefaultProcessing(message, wparam, lparam);
    case WM_SETTINGCHANGE:  // also WM_WININICHANGE, the same message number
      decimal_separator_ = RegionalDecimalSeparator();
      if (wparam == SPI_SETWORKAREA) FormDisplayChange();
      return DefaultProcessing(message, wparam, lparam);
    case WM_DESTROY:
      FormDestroy();
      if (startup_.QuitOnDestroy) ::PostQuitMessage(0);
      return 0;
    default:
      return DefaultProcessing(message, wparam, lparam);
  }
}

StartupPaths TMainForm::FormPaths() {
  // The stored long name, even when started through an 8.3 path or in other letter case.
  std::wstring stored_name;
  WIN32_FIND_DATAW found{};
  UniqueFind find(::FindFirstFileW(startup_.ModulePath.c_str(), &found));
  if (find) stored_name = found.cFileName;
  find.reset();

  return ripplet::FormPaths(startup_.ModulePath, stored_name);
}

void TMainForm::FormCreate() {
  phase_ = Phase::kCreating;
  try {
    const StartupPaths paths = FormPaths();
    store_.SetPath(paths.IniPath);
    HelpSystem::SetHelpFile(paths.HelpPath);
    if (auto* app = Application::Instance()) HelpSystem::SetCallerWindow(app->Handle());
    store_.SetPath(
        ApplyIniOption(store_.Path(), SplitCommandLine(startup_.CommandLine), paths.ProgramDir));
    StartUsage();  // beside the settings file, whatever stops start-up later
    layout_.MeasureDesign(Handle());
    if (!startup_.SampleAfterFirstPaint) sampler_.RefreshIfTable();
    LoadSettings();
    ApplySettings();
    // A file that could not be read was reported already; it is no first start.
    // The automatic choice needs no adapter named: it is no first start.
    if (settings_.AdapterName.empty() && !settings_.AutoAdapter && !store_.StartedUnreadable()) {
      ShowFirstStartMessage();
      // Hide-on-hover stays off until the settings are next applied.
      if (auto* app = Application::Instance()) app->SetIdleHandler(nullptr);
    }
    if (auto* app = Application::Instance()) app->MakeTopmost();
  } catch (...) {
    // Whatever the error, the window is still created and shown, and the first change of
    // size applies the settings and brings it to its normal state. Stopped before loading
    // was done, the meter runs on what it has: none of that is the user's change.
    TakeSettingsBaseline();
    ShowCurrentError();
  }
  phase_ = Phase::kRunning;
}

// The first paint is done; the lookup follows as soon as the loop is next idle, after the
// picture has gone to the screen.
void TMainForm::FirstPaintDone() {
  if (first_sample_timer_running_) return;
  first_sample_timer_running_ =
      ::SetTimer(Handle(), kFirstSampleTimerId, USER_TIMER_MINIMUM, nullptr) != 0;
  if (!first_sample_timer_running_) SelectPendingAdapter();
}

// The first tick still comes a whole interval after the start: its rates are over the time
// since this baseline, as every rate is over the time since the sample before.
void TMainForm::SelectPendingAdapter() {
  if (first_sample_timer_running_) ::KillTimer(Handle(), kFirstSampleTimerId);
  first_sample_timer_running_ = false;
  if (!adapter_pending_) return;
  adapter_pending_ = false;
  SelectAdapter();  // the baseline's read of the table finds the adapter: one read, not two
}

void TMainForm::ShowFirstStartMessage() {
  ::MessageBoxW(nullptr,
                L"初めての起動ですので、ネットワーク アダプタが未指定の状態です。\r\n"
                L"オプション ダイアログを開いてアダプタの指定を行ってください。",
                nullptr, MB_ICONWARNING);
}

void TMainForm::FormActivate() {
  if (auto* app = Application::Instance()) ::ShowWindow(app->Handle(), SW_HIDE);
}

void TMainForm::FormResize() {
  // During creation the settings are applied once, after they have all been loaded; and a
  // WM_SIZE that brings no new size (creation and showing send one) changes nothing.
  const SIZE size = ClientSize(Handle());
  if (phase_ != Phase::kRunning || frame_.IsAppliedSize(size)) return;
  frame_.SizeGiven({layout_.DesignTextHeight(), size.cx, size.cy});
  ApplySettings();
}

void TMainForm::GraphImageMouseDown(int x, int y) {
  if (settings_.LockWindow) return;
  MeterFrame::StartMove(Handle(), x, y);
}

void TMainForm::FormCloseQuery() {
  // The counts are saved whatever becomes of the settings' save; a failure was told.
  SaveUsage();
  // A failed save raises its error and the window stays open; a later close tries again,
  // unless the settings store lets the user go.
  try {
    SaveSettings();
  } catch (const AppError& error) {
    if (!store_.CloseGoesOnDespiteFailedSave()) throw;
    ShowApplicationError(error.Text());
  }
  ::DestroyWindow(Handle());
}

void TMainForm::FormDestroy() {
  accessible_.Disconnect();
  StopMainTimer();
  if (first_sample_timer_running_) ::KillTimer(Handle(), kFirstSampleTimerId);
  StopFollowing();
  ::KillTimer(Handle(), kUsageTimerId);
  SaveUsage();  // a window destroyed without a close keeps its counts too
  sampler_.ReleaseSnapshot();
}

}  // namespace ripplet
