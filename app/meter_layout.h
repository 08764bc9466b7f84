// What the meter shows and where, at the density of its monitor: the design scaled by the
// form font's measured height, the two label fonts, the value texts, and the layout of the
// graph and the four labels (plain arithmetic in label_layout.h; here the fonts are made and
// the texts measured). A change of density makes all of it anew.
#pragma once

#include <windows.h>

#include <string>

#include "app/label_layout.h"
#include "settings/settings.h"
#include "win32/win_handles.h"

namespace ripplet {

class MeterLayout {
 public:
  // The form font's height measured at `density`: the design's text height there.
  static int MeasureFormTextHeight(int density);

  // At creation: the screen's density, which the settings' font heights are made at too.
  void Begin(int screen_density);

  int Density() const noexcept { return density_; }  // of the window's monitor
  int FontDensity() const noexcept { return font_density_; }
  int DesignTextHeight() const noexcept { return design_text_height_; }
  const MainLayout& Current() const noexcept { return layout_; }
  const LineSpacings& Spacings() const noexcept { return spacings_; }
  const std::wstring& RecvText() const noexcept { return recv_text_; }
  const std::wstring& SendText() const noexcept { return send_text_; }
  HFONT ValueFont() const noexcept { return value_font_.get(); }
  HFONT CaptionFont() const noexcept { return caption_font_.get(); }

  // The design at a new density, as a start there would make it.
  void SetDensity(int density, HWND window);
  // The design at the current density, its label fonts, and the layout as created.
  void MeasureDesign(HWND window);
  // The settings file's ValueLineSpacing1 to 4, added to the design's gaps.
  void AddSpacings(const LineSpacings& extra);

  // Both labels' fonts from the settings' value font, at the window's density.
  void MakeLabelFonts(const FontSpec& value_font);
  void MeasureLabels();
  void LayOut(HWND window, bool show_value);

  // New value texts; each label keeps its right edge and takes its text's width. The
  // window repaints where they were and where they are now. Says which texts changed.
  struct TextsChange {
    bool Recv = false;
    bool Send = false;
  };
  TextsChange SetValueTexts(HWND window, std::wstring recv, std::wstring send);

 private:
  void InvalidateValues(HWND window) const noexcept;

  int density_ = 96;
  int font_density_ = 96;        // the screen's: the settings' font heights are made at it
  int design_text_height_ = 12;  // the form font's measured height; the design has 12
  DesignLayout design_;
  LabelMetrics metrics_;
  LineSpacings spacings_{};
  LineSpacings spacing_extra_{};
  MainLayout layout_;
  UniqueFont value_font_;
  UniqueFont caption_font_;
  std::wstring recv_text_ = L"-";
  std::wstring send_text_ = L"-";
};

}  // namespace ripplet
