// The meter's main window: a borderless strip owned by the hidden application window. It
// keeps the handlers (main_form*.cpp, one concern each) and wires its parts: the settings
// store, the sampler, the layout, the painter, the frame, the position settle, hide-on-hover
// and the accessible tree.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/hover_hiding.h"
#include "app/label_layout.h"
#include "app/meter_layout.h"
#include "app/meter_painter.h"
#include "app/position_settle.h"
#include "app/rate_readout.h"
#include "app/settings_store.h"
#include "app/win_frame.h"
#include "app/win_meter_accessible.h"
#include "display/win_graph.h"
#include "sampling/route_choice.h"
#include "sampling/sampler.h"
#include "sampling/win_route_changes.h"
#include "settings/settings.h"
#include "startup/win_startup.h"
#include "usage/win_usage_store.h"
#include "win32/win_handles.h"
#include "win32/win_window.h"

namespace ripplet {

class TMainForm : public Window {
 public:
  struct Startup {
    std::wstring ModulePath;    // the running executable, as the loader reports it
    std::wstring CommandLine;   // the whole process command line
    bool QuitOnDestroy = true;  // the real program ends its message loop with the window
    // The real program puts its first picture up before it first reads the interface table
    // (which loads IP Helper): the adapter is looked up just after the first paint.
    bool SampleAfterFirstPaint = false;
  };

  // The context menu's items.
  enum : UINT {
    kOptionItem = 101,
    kShowValueItem,
    kLockWindowItem,
    kSnapWindowItem,
    kHideWindowItem,
    kHelpItem,
    kAboutItem,
    kExitItem,
    kStartWithWindowsItem,
    kUsageItem,
  };

  TMainForm(TrafficSource& source, Startup startup);
  ~TMainForm() override;

  // Creates the native window (hidden) owned by `owner`; FormCreate runs inside.
  void Create(HWND owner);
  void Show();

  // What other parts and the tests look at.
  Settings& CurrentSettings() noexcept { return settings_; }
  const std::wstring& IniPath() const noexcept { return store_.Path(); }
  const Sampler& TrafficSampler() const noexcept { return sampler_; }
  bool MainTimerRunning() const noexcept { return main_timer_running_; }
  const GraphBitmap& Graph() const noexcept { return graph_; }
  const MeterLayout& Layout() const noexcept { return layout_; }  // fonts, texts, places
  const MeterFrame& Frame() const noexcept { return frame_; }
  const UsageStore& Usage() const noexcept { return usage_; }

  void ApplySettings();
  void LoadSettings();
  void SaveSettings();
  void MainTimerTimer();
  void RestoreDefaultHeight();

  // The context menu (main_form_menu.cpp).
  void PopupMenuPopup();
  void MenuItemClick(UINT id);
  HMENU PopupMenu() const noexcept { return popup_menu_.get(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // Start-up, the frame's handlers and shutdown (main_form.cpp).
  void FormCreate();
  // Start-up's adapter lookup and first baseline, when they wait for the first paint.
  static constexpr UINT_PTR kFirstSampleTimerId = 6;
  void FirstPaintDone();
  void SelectPendingAdapter();
  StartupPaths FormPaths();
  void ShowFirstStartMessage();
  void FormActivate();
  void FormResize();
  void GraphImageMouseDown(int x, int y);
  void FormCloseQuery();
  void FormDestroy();

  // main_form_settings.cpp
  void TakeSettingsBaseline();
  void FitFullLayoutHeight();
  void ResetGraph();  // main_form_apply.cpp

  // The main timer (main_form_tick.cpp).
  static constexpr UINT_PTR kMainTimerId = 1;
  void StartMainTimer();
  void StopMainTimer() noexcept;

  // The adapter measured: the stored one, or the default route's (main_form_follow.cpp).
  static constexpr UINT_PTR kFollowTimerId = 4;
  static constexpr UINT kRouteChangedMessage = WM_APP + 1;
  static constexpr UINT kFollowCheckMs = 2000;  // the paced re-check: wine sends no notices
  static constexpr std::uint32_t kVanishCheckMs = 1000;
  void SelectAdapter();
  void StopFollowing() noexcept;
  void FollowDefaultRoute(bool again);
  bool SampleFollowed(RatePair& pair);
  void DescribeAdapter();
  std::optional<std::string> DefaultRouteAdapter();

  // The usage totals (main_form_usage.cpp): counted each tick, saved at most a minute apart
  // and whenever the program or the session ends or the machine goes to sleep.
  static constexpr UINT_PTR kUsageTimerId = 5;
  static constexpr UINT kUsageSaveMs = 60000;
  void StartUsage();
  void CountUsage(const Sampler::Growth& growth);
  void SaveUsage() noexcept;
  void UsageItemClick();

  // The per-monitor layout and changes of screens (main_form_density.cpp).
  int StartDensity(const WindowBounds& bounds) const noexcept;
  void PlaceForDensity(WindowBounds& bounds, const WindowBounds& design_bounds,
                       const LoadReport& report);
  FrameExtent FrameAt(int density) const noexcept;
  bool ScaledSizeFor(int density, SIZE& size) const;
  void FormDpiChanged(int density, const RECT& suggested);
  RECT DockedPlace(const RECT& suggested) const;
  void FormDisplayChange();

  // The context menu (main_form_menu.cpp).
  void CreatePopupMenu();
  void ShowContextMenu(int x, int y);
  void ToggleOptionItemClick(UINT id);
  void OptionItemClick();
  static ProgramCopy CopyStartedBy(std::wstring_view command);
  ThisCopy StartupCopy();
  void StartWithWindowsItemClick();

  // While the window is being created, or resized for a new density, a change of size does
  // not apply the settings: they are applied once, afterwards.
  enum class Phase { kRunning, kCreating, kChangingDensity };

  Startup startup_;
  TrafficSource& source_;
  Settings settings_;
  SettingsStore store_;
  std::string decimal_separator_ = ".";
  Sampler sampler_;
  RateReadout readout_;
  UsageStore usage_;
  std::string usage_adapter_ansi_;  // the adapter whose description usage_adapter_ holds
  std::string usage_adapter_;       // its description in UTF-8, as the usage file keeps it

  // What the window shows, and how.
  MeterLayout layout_;
  GraphBitmap graph_;
  MeterPainter painter_;
  UniqueMenu popup_menu_;
  StartWithWindows start_with_windows_{&TMainForm::CopyStartedBy};
  MeterFrame frame_;
  PositionSettle settle_;
  HoverHiding hover_{settle_};

  Phase phase_ = Phase::kRunning;
  bool main_timer_running_ = false;
  bool adapter_pending_ = false;  // start-up's lookup waits for the first paint
  bool first_sample_timer_running_ = false;

  // The automatic adapter's state; untouched while the adapter is a fixed one.
  RouteChangeNotices route_notices_;
  std::vector<RouteRow> routes_;
  bool follow_timer_running_ = false;
  bool offline_ = false;                             // following, and no default route
  std::optional<std::uint32_t> followed_interface_;  // following this interface index
  std::uint32_t last_follow_tick_ = 0;
  std::wstring graph_description_;  // what the tree says the graph shows

  // What assistive programs read: the graph and the two values, live.
  MeterAccessible accessible_{{&layout_.Current(), &layout_.RecvText(), &layout_.SendText(),
                               &readout_.Unit(), &graph_description_}};
};

}  // namespace ripplet
