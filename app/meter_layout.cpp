#include "app/meter_layout.h"

#include <utility>

#include "app/per_monitor_layout.h"
#include "settings/settings_io.h"
#include "settings/win_logfont.h"
#include "win32/win_font.h"
#include "win32/win_window.h"

namespace ripplet {
namespace {

constexpr wchar_t kWidestValue[] = L"999999M";
constexpr BYTE kShiftJisCharset = SHIFTJIS_CHARSET;

UniqueFont MakeFont(const FontSpec& spec) { return ripplet::MakeFont(FontToLogFont(spec)); }

// Text sizes as the screen draws them.
class TextMeasure {
 public:
  explicit TextMeasure(HFONT font) : dc_(nullptr), select_(dc_.get(), font) {}
  int Height() const {
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc_.get(), &tm);
    return tm.tmHeight;
  }
  int Width(std::wstring_view text) const {
    SIZE size{};
    ::GetTextExtentPoint32W(dc_.get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

 private:
  WindowDc dc_;
  SelectGuard select_;
};

}  // namespace

int MeterLayout::MeasureFormTextHeight(int density) {
  FontSpec form_font;
  form_font.Height = FormFontHeight(density);
  UniqueFont font = MakeFont(form_font);
  return TextMeasure(font.get()).Height();
}

void MeterLayout::Begin(int screen_density) {
  density_ = screen_density;
  font_density_ = screen_density;
  design_text_height_ = MeasureFormTextHeight(screen_density);
}

void MeterLayout::SetDensity(int density, HWND window) {
  density_ = density;
  design_text_height_ = MeasureFormTextHeight(density);
  MeasureDesign(window);
}

void MeterLayout::MeasureDesign(HWND window) {
  // The design is scaled by the form font's measured height over its design height 12.
  const int text_height = design_text_height_;
  design_ = ScaledDesign(text_height);

  // The labels' design fonts, in force until values are first shown.
  FontSpec caption;
  caption.Height = -ScaleDesign(11, text_height);
  caption.Charset = kShiftJisCharset;
  FontSpec value;
  value.Height = -ScaleDesign(13, text_height);
  value.Charset = kShiftJisCharset;
  caption_font_ = MakeFont(caption);
  value_font_ = MakeFont(value);
  MeasureLabels();

  // Line spacings 1 to 3 are the gaps of the design layout as created.
  spacings_ = DesignSpacings(text_height, spacing_extra_);
  const SIZE client = ClientSize(window);
  layout_ = InitialLayout(design_, metrics_, client.cx, client.cy);
}

void MeterLayout::AddSpacings(const LineSpacings& extra) {
  spacing_extra_ = extra;
  for (std::size_t i = 0; i < extra.size(); ++i) {
    spacings_[i] = LimitedSpacing(spacings_[i], extra[i]);
  }
}

void MeterLayout::MakeLabelFonts(const FontSpec& value_font) {
  FontSpec value = value_font;
  value.Height = ValueFontHeightAt(value_font.Height, font_density_, density_);
  value_font_ = MakeFont(value);
  FontSpec caption = value_font;
  caption.Charset = kShiftJisCharset;
  caption.Height = CaptionFontHeightAt(value_font.Height, font_density_, density_);
  caption_font_ = MakeFont(caption);
}

void MeterLayout::MeasureLabels() {
  {
    const TextMeasure captions(caption_font_.get());
    metrics_.CaptionHeight = captions.Height();
    metrics_.Label1Width = captions.Width(kRecvCaption);
    metrics_.Label2Width = captions.Width(kSendCaption);
  }
  const TextMeasure values(value_font_.get());
  metrics_.ValueHeight = values.Height();
  metrics_.RecvWidth = values.Width(recv_text_);
  metrics_.SendWidth = values.Width(send_text_);
  metrics_.WidestValue = values.Width(kWidestValue);
}

void MeterLayout::LayOut(HWND window, bool show_value) {
  const SIZE client = ClientSize(window);
  layout_ = LayOutLabels(design_, metrics_, spacings_, show_value, client.cx, client.cy, layout_);
}

MeterLayout::TextsChange MeterLayout::SetValueTexts(HWND window, std::wstring recv,
                                                    std::wstring send) {
  const TextsChange change{recv != recv_text_, send != send_text_};
  if (!change.Recv && !change.Send) return change;
  InvalidateValues(window);  // where the old texts were
  recv_text_ = std::move(recv);
  send_text_ = std::move(send);
  const TextMeasure values(value_font_.get());
  metrics_.RecvWidth = values.Width(recv_text_);
  metrics_.SendWidth = values.Width(send_text_);
  AlignRight(layout_.Recv, layout_.Recv.Right(), metrics_.RecvWidth);
  AlignRight(layout_.Send, layout_.Send.Right(), metrics_.SendWidth);
  InvalidateValues(window);
  return change;
}

void MeterLayout::InvalidateValues(HWND window) const noexcept {
  for (const LayoutRect* r : {&layout_.Recv, &layout_.Send}) {
    const RECT rect{r->Left, r->Top, r->Right(), r->Bottom()};
    ::InvalidateRect(window, &rect, FALSE);
  }
}

}  // namespace ripplet
