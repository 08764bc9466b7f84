// The About dialog.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "win32/win_dialog.h"
#include "win32/win_handles.h"

namespace ripplet {

// Shows the About dialog modally over `owner` in the program's own modal loop.
void ShowAboutDialog(HWND owner);

// The About dialog's window: created modeless from its template, shown in the program's
// modal loop by ShowModal, destroyed with the object.
class TAboutForm : public Dialog {
 public:
  // Hands a link's target to the platform's shell; `parent` is the dialog.
  using LinkOpener = std::function<void(HWND parent, const std::wstring& target)>;
  static void OpenWithShell(HWND parent, const std::wstring& target);

  explicit TAboutForm(LinkOpener open_link = &TAboutForm::OpenWithShell);
  ~TAboutForm() override;

  // Creates the dialog hidden over `owner`; throws AppError when it cannot.
  void Create(HWND owner);
  HWND Tooltip() const noexcept { return tooltip_; }

  // FormShow, then the modal loop. The result is IDOK from OK, Enter and Esc, and IDCANCEL
  // from the close box.
  INT_PTR ShowModal();

  // Handlers.
  void FormShow();
  void LinkLabelClick(HWND sender);

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Detached() noexcept override { tooltip_ = nullptr; }
  void FormCreate();
  void MakeFonts(int density);
  void ShowIcon();
  void DensityChanged(int density);
  void FitToNewDensity();
  void AddVersionTooltip();
  void FitLabelToText(int id, bool keep_right_edge);
  INT_PTR LabelColors(HDC dc, HWND label);
  void DrawLink(const DRAWITEMSTRUCT& item);
  bool IsLinkLabel(HWND window) const noexcept;
  bool ShowsFocus(HWND control) const noexcept;
  static LRESULT CALLBACK LinkProcedure(HWND link, UINT message, WPARAM wparam, LPARAM lparam,
                                        UINT_PTR id, DWORD_PTR form) noexcept;
  void GiveFocusBack() noexcept;

  LinkOpener open_link_;
  HWND tooltip_ = nullptr;  // owned by the dialog, destroyed with it
  UniqueFont name_font_;
  UniqueFont version_font_;
  UniqueFont link_font_;
  LOGFONTW dialog_font_{};  // the dialog's own font as created, at created_density_
  int created_density_ = 96;
  using IconOwner = UniqueHandle<NullIsInvalid<HICON, &::DestroyIcon>>;
  IconOwner icon_;  // the copy IconImage shows
  // A link pressed with the mouse takes the focus; the click gives it back to where it was.
  HWND pressed_link_ = nullptr;
  HWND focus_before_press_ = nullptr;
};

}  // namespace ripplet
