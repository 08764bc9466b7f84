// The meter's main window: a borderless strip owned by the hidden application window.
// Its handlers are spread over main_form*.cpp, one concern each.
#pragma once

#include <windows.h>

#include <string>

#include "app/win_window.h"
#include "sampling/rate.h"
#include "sampling/sampler.h"
#include "settings/settings.h"

namespace ripplet {

class TMainForm : public Window {
 public:
  struct Startup {
    std::wstring ModulePath;   // the running executable, as the loader reports it
    std::wstring CommandLine;  // the whole process command line
    bool QuitOnDestroy = true; // the real program ends its message loop with the window
  };

  TMainForm(TrafficSource& source, Startup startup);
  ~TMainForm() override;

  // Creates the native window (hidden) owned by `owner`; FormCreate runs inside.
  void Create(HWND owner);
  void Show();

  // What other parts and the tests look at.
  Settings& CurrentSettings() noexcept { return settings_; }
  const std::wstring& IniPath() const noexcept { return ini_path_; }
  const std::wstring& HelpPath() const noexcept { return help_path_; }
  const LineSpacings& Spacings() const noexcept { return line_spacings_; }
  const Sampler& TrafficSampler() const noexcept { return sampler_; }
  const RatePair& LastRates() const noexcept { return rates_; }
  bool LastTickHadNoData() const noexcept { return last_no_data_; }
  bool MainTimerRunning() const noexcept { return main_timer_running_; }

  void ApplySettings();
  void LoadSettings();
  void SaveSettings();
  void MainTimerTimer();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void FormCreate();
  void FormActivate();
  void FormCloseQuery();
  void FormDestroy();
  void FormResize();
  void FormPaths();
  void ShowFirstStartMessage();
  void StartMainTimer();
  void StopMainTimer() noexcept;

  Startup startup_;
  Settings settings_;
  LineSpacings line_spacings_{};
  Sampler sampler_;
  RatePair rates_;
  bool last_no_data_ = true;

  std::wstring ini_path_;
  std::wstring help_path_;
  std::wstring program_dir_;
  int pixels_per_inch_ = 96;
  std::string decimal_separator_ = ".";

  bool creating_ = false;
  bool main_timer_running_ = false;
};

}  // namespace ripplet
