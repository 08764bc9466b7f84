// Test support for the Options dialog: a settings record, a fake interface table, the
// dialog created modeless over them, and its controls driven with real messages.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/options_form.h"
#include "resources/options_ids.h"
#include "sampling/if_table.h"
#include "settings/settings.h"
#include "tests/sampling/fake_traffic_source.h"
#include "win32/win_text.h"

namespace ripplet::testing {

class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() { SetRows({{"wlan0"}, {"Ethernet"}, {"lo"}, {"eth1"}}); }

  void SetRows(const std::vector<FakeRow>& rows) { ToRows(rows, table_); }

  // Creates the dialog over the record and shows it (FormShow runs as it appears).
  TOptionForm& Open() {
    form_.reset();  // a dialog opened before goes first: it refers to the old context
    context_ = std::make_unique<OptionsContext>(
        OptionsContext{settings_, table_, separator_, 96, [this] { ++default_height_calls_; },
                       [this](unsigned context) { help_contexts_.push_back(context); }, followed_});
    form_ = std::make_unique<TOptionForm>(*context_, pickers_);
    form_->Create(nullptr);
    ::ShowWindow(form_->Handle(), SW_SHOW);
    ::SetForegroundWindow(form_->Handle());
    return *form_;
  }

  HWND Dialog() const { return form_->Handle(); }
  HWND Item(int id) const { return ::GetDlgItem(form_->Handle(), id); }

  std::wstring Text(int id) const { return WindowText(Item(id)); }
  void Type(int id, const std::wstring& text) const { ::SetWindowTextW(Item(id), text.c_str()); }

  // A pick in a drop-down list: the selection moves and the list tells the dialog.
  void Pick(int id, int index) const {
    ::SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(Item(id)));
  }
  int Selected(int id) const {
    return static_cast<int>(::SendMessageW(Item(id), CB_GETCURSEL, 0, 0));
  }
  std::wstring Entry(int id, int index) const {
    wchar_t buffer[512] = {};
    ::SendMessageW(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  int Count(int id) const { return static_cast<int>(::SendMessageW(Item(id), CB_GETCOUNT, 0, 0)); }

  // A mouse click on a button: it takes the focus and then reports the click.
  void Click(int id) const { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
  bool Checked(int id) const { return ::IsDlgButtonChecked(Dialog(), id) == BST_CHECKED; }
  bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
  void Focus(int id) const { ::SetFocus(Item(id)); }

  Settings settings_;
  IfTableBuffer table_;
  std::string separator_ = ".";
  std::optional<std::string> followed_;  // what the automatic entry follows
  TOptionForm::Pickers pickers_;  // none: a test that clicks a colour or font button sets one
  std::unique_ptr<OptionsContext> context_;
  std::unique_ptr<TOptionForm> form_;
  int default_height_calls_ = 0;
  std::vector<unsigned> help_contexts_;
};

// Runs steps from a thread timer, so they run inside whatever modal loop is active (the
// program's own, or a platform dialog's). A step returns false to be tried again on the
// next tick. After `give_up_ms` every open dialog of the thread is cancelled and the
// remaining steps are dropped.
class TimerSteps {
 public:
  explicit TimerSteps(std::vector<std::function<bool()>> steps, DWORD give_up_ms = 5000);
  ~TimerSteps();
  TimerSteps(const TimerSteps&) = delete;
  TimerSteps& operator=(const TimerSteps&) = delete;
  bool Done() const { return next_ == steps_.size(); }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  std::vector<std::function<bool()>> steps_;
  std::size_t next_ = 0;
  DWORD start_;
  DWORD give_up_ms_;
  UINT_PTR timer_ = 0;
};

// The visible dialog-class window of this thread that `accept` takes, or null.
HWND FindDialogWindow(const std::function<bool(HWND)>& accept);

}  // namespace ripplet::testing
