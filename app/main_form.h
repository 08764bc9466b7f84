// The meter's main window: a borderless strip owned by the hidden application window.
// Its handlers are spread over main_form*.cpp, one concern each.
#pragma once

#include <windows.h>

#include <string>

#include "app/hover_hiding.h"
#include "app/label_layout.h"
#include "app/meter_painter.h"
#include "app/per_monitor_layout.h"
#include "app/position_settle.h"
#include "app/rate_readout.h"
#include "app/settings_store.h"
#include "app/win_meter_accessible.h"
#include "display/graph_math.h"
#include "display/units.h"
#include "display/win_graph.h"
#include "sampling/rate.h"
#include "sampling/sampler.h"
#include "settings/settings.h"
#include "win32/win_handles.h"
#include "win32/win_window.h"

namespace ripplet {

class TMainForm : public Window {
 public:
  struct Startup {
    std::wstring ModulePath;    // the running executable, as the loader reports it
    std::wstring CommandLine;   // the whole process command line
    bool QuitOnDestroy = true;  // the real program ends its message loop with the window
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
  };

  TMainForm(TrafficSource& source, Startup startup);
  ~TMainForm() override;

  // Creates the native window (hidden) owned by `owner`; FormCreate runs inside.
  void Create(HWND owner);
  void Show();

  // What other parts and the tests look at.
  Settings& CurrentSettings() noexcept { return settings_; }
  const std::wstring& IniPath() const noexcept { return store_.Path(); }
  const std::wstring& HelpPath() const noexcept { return help_path_; }
  const LineSpacings& Spacings() const noexcept { return line_spacings_; }
  const Sampler& TrafficSampler() const noexcept { return sampler_; }
  bool MainTimerRunning() const noexcept { return main_timer_running_; }
  const GraphBitmap& Graph() const noexcept { return graph_; }
  const MainLayout& Layout() const noexcept { return layout_; }
  const std::wstring& RecvText() const noexcept { return recv_text_; }
  const std::wstring& SendText() const noexcept { return send_text_; }
  std::int32_t DefaultHeight() const noexcept { return layout_.DefaultHeight; }
  int PixelsPerInch() const noexcept { return pixels_per_inch_; }  // of the window's monitor
  HFONT ValueFont() const noexcept { return value_font_.get(); }
  HFONT CaptionFont() const noexcept { return caption_font_.get(); }

  void ApplySettings();
  void LoadSettings();
  void SaveSettings();
  void MainTimerTimer();
  void RestoreDefaultHeight();

  // The context menu (main_form_menu.cpp).
  void PopupMenuPopup();
  void MenuItemClick(UINT id);
  HMENU PopupMenu() const noexcept { return popup_menu_.get(); }
  bool ScreenSnap() const noexcept { return screen_snap_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // Start-up and shutdown (main_form.cpp).
  void FormCreate();
  void FormActivate();
  void FormCloseQuery();
  void FormDestroy();
  void FormResize();
  void FormPaths();
  void TakeSettingsBaseline();
  void ShowFirstStartMessage();
  void StartMainTimer();
  void StopMainTimer() noexcept;

  // Layout and fonts (main_form_layout.cpp).
  static int MeasureFormTextHeight(int pixels_per_inch);
  void MeasureDesign();
  void MakeLabelFonts();
  void MeasureLabels();
  void LayOut();
  void ResetGraph();

  // The per-monitor layout and changes of screens (main_form_density.cpp).
  int StartDensity(const WindowBounds& bounds) const noexcept;
  void PlaceForDensity(WindowBounds& bounds, const WindowBounds& design_bounds);
  void SetDensity(int density);
  bool ScaledSizeFor(int density, SIZE& size) const;
  void FormDpiChanged(int density, const RECT& suggested);
  void FormDisplayChange();

  // The frame (main_form_frame.cpp).
  void SetOpacity(std::uint8_t alpha);
  void GraphImageMouseDown(int x, int y);
  LRESULT FrameHitTest(WPARAM wparam, LPARAM lparam);
  void LimitTrackSize(MINMAXINFO& info) const;
  void SnapToWorkArea(WINDOWPOS& pos) const;

  void CreatePopupMenu();
  void ShowContextMenu(int x, int y);
  void ToggleOptionItemClick(UINT id);
  void OptionItemClick();

  // The value labels' texts (main_form_values.cpp).
  void SetValueTexts(std::wstring recv, std::wstring send);
  void InvalidateValues() noexcept;

  Startup startup_;
  Settings settings_;
  LineSpacings line_spacings_{};
  LineSpacings spacing_extra_{};  // the settings file's ValueLineSpacing1 to 4
  Sampler sampler_;

  SettingsStore store_;
  std::wstring help_path_;
  std::wstring program_dir_;
  int pixels_per_inch_ = 96;  // the density the window is laid out for
  int font_density_ = 96;     // the density the settings' font height is made at: the screen's
  std::string decimal_separator_ = ".";

  // What the window shows.
  int design_text_height_ = 12;  // the form font's measured height; the design has 12
  DesignLayout design_;
  LabelMetrics metrics_;
  MainLayout layout_;
  UniqueFont value_font_;
  UniqueFont caption_font_;
  std::wstring recv_text_ = L"-";
  std::wstring send_text_ = L"-";
  GraphBitmap graph_;
  UniqueMenu popup_menu_;
  RateReadout readout_;

  MeterPainter painter_;

  // The frame's state.
  std::uint8_t alpha_value_ = 0;  // 255 is applied right after creation
  bool screen_snap_ = false;
  PositionSettle settle_;
  HoverHiding hover_{settle_};

  SIZE applied_size_{-1, -1};  // the client size the settings were last applied at
  SizedAt given_size_{};       // the client size last given other than by a change of density
  bool density_changing_ = false;
  bool creating_ = false;
  bool main_timer_running_ = false;

  // What assistive programs read: the graph and the two values, live.
  MeterAccessible accessible_{{&layout_, &recv_text_, &send_text_, &settings_.GraphUnit}};
};

}  // namespace ripplet
