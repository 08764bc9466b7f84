// Fonts, text measuring and the layout of the graph and the four labels.
#include <algorithm>
#include <cstdint>

#include "app/main_form.h"
#include "settings/settings_io.h"
#include "win32/app_error.h"
#include "win32/win_text.h"

namespace ripplet {
namespace {

constexpr wchar_t kRecvCaption[] = L"受信:";
constexpr wchar_t kSendCaption[] = L"送信:";
constexpr wchar_t kWidestValue[] = L"999999M";
constexpr BYTE kShiftJisCharset = SHIFTJIS_CHARSET;

UniqueFont MakeFont(const FontSpec& spec) {
  LOGFONTW lf{};
  lf.lfHeight = spec.Height;
  lf.lfWeight = (spec.Style & kFontStyleBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (spec.Style & kFontStyleItalic) ? TRUE : FALSE;
  lf.lfUnderline = (spec.Style & kFontStyleUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (spec.Style & kFontStyleStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = spec.Charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  const std::wstring face = AnsiToWide(spec.Name);
  face.copy(lf.lfFaceName, std::min<size_t>(face.size(), LF_FACESIZE - 1));
  UniqueFont font(::CreateFontIndirectW(&lf));
  if (!font) throw AppError(L"フォントを作成できません");
  return font;
}

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

int TMainForm::MeasureFormTextHeight(int pixels_per_inch) {
  FontSpec form_font;
  form_font.Height = ::MulDiv(-12, pixels_per_inch, 96);
  UniqueFont font = MakeFont(form_font);
  return TextMeasure(font.get()).Height();
}

void TMainForm::MeasureDesign() {
  // The design is scaled by the form font's measured height over its design height 12.
  const int text_height = design_text_height_;
  design_ = ScaledDesign(text_height);

  // The labels' design fonts, in force until values are first shown.
  const auto scaled = [text_height](int v) { return ScaleDesign(v, text_height); };
  FontSpec caption;
  caption.Height = -scaled(11);
  caption.Charset = kShiftJisCharset;
  FontSpec value;
  value.Height = -scaled(13);
  value.Charset = kShiftJisCharset;
  caption_font_ = MakeFont(caption);
  value_font_ = MakeFont(value);
  MeasureLabels();

  // Line spacings 1 to 3 are the gaps of the design layout as created.
  line_spacings_ = DesignSpacings(text_height, spacing_extra_);
  RECT client{};
  ::GetClientRect(Handle(), &client);
  layout_ = InitialLayout(design_, metrics_, client.right, client.bottom);
}

void TMainForm::MakeLabelFonts() {
  // The value font's charset is set on the settings' own font, as the font picker sees it.
  settings_.ValueFont.Charset = DEFAULT_CHARSET;
  // Both made from the settings' font at the density of the window's monitor.
  FontSpec value = settings_.ValueFont;
  value.Height = ValueFontHeightAt(value.Height, font_density_, pixels_per_inch_);
  value_font_ = MakeFont(value);
  FontSpec caption = settings_.ValueFont;
  caption.Charset = kShiftJisCharset;
  caption.Height = CaptionFontHeightAt(settings_.ValueFont.Height, font_density_, pixels_per_inch_);
  caption_font_ = MakeFont(caption);
}

void TMainForm::MeasureLabels() {
  {
    TextMeasure captions(caption_font_.get());
    metrics_.CaptionHeight = captions.Height();
    metrics_.Label1Width = captions.Width(kRecvCaption);
    metrics_.Label2Width = captions.Width(kSendCaption);
  }
  TextMeasure values(value_font_.get());
  metrics_.ValueHeight = values.Height();
  metrics_.RecvWidth = values.Width(recv_text_);
  metrics_.SendWidth = values.Width(send_text_);
  metrics_.WidestValue = values.Width(kWidestValue);
}

void TMainForm::LayOut() {
  RECT client{};
  ::GetClientRect(Handle(), &client);
  layout_ = LayOutLabels(design_, metrics_, line_spacings_, settings_.ShowValue, client.right,
                         client.bottom, layout_);
  accessible_.LayoutChanged(Handle());
}

void TMainForm::ResetGraph() {
  if (!layout_.GraphVisible) return;  // hidden: the bitmap is left as it was
  const int h = layout_.Graph.Height;
  graph_.Reset(layout_.Graph.Width, h,
               {ColourRefOf(settings_.BackColor), ColourRefOf(settings_.MiddleColor),
                ColourRefOf(settings_.RecvColor), ColourRefOf(settings_.SendColor)},
               MiddleY(h, settings_.GraphMiddle, settings_.GraphRange));
}

void TMainForm::RestoreDefaultHeight() {
  RECT window{};
  RECT client{};
  ::GetWindowRect(Handle(), &window);
  ::GetClientRect(Handle(), &client);
  const int outer_height = (window.bottom - window.top) - client.bottom + layout_.DefaultHeight;
  ::SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left, outer_height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ripplet
