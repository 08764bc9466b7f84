// Where the graph, its frame and the four labels go, from the client size, the measured
// text sizes and the line spacings. Plain arithmetic; the shell measures the fonts.
#pragma once

#include <cstdint>

#include "settings/settings.h"

namespace ripplet {

// The captions of the two values, as drawn and as assistive programs name them.
inline constexpr wchar_t kRecvCaption[] = L"受信:";
inline constexpr wchar_t kSendCaption[] = L"送信:";

struct LayoutRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int Right() const noexcept { return Left + Width; }
  int Bottom() const noexcept { return Top + Height; }
  friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// The window's design at 96 pixels per inch, already scaled to the screen.
struct DesignLayout {
  int GraphLeft = 4;  // the graph's left and top; its bottom keeps this margin too
  int GraphTop = 4;
  int GraphBottomMargin = 4;
  int CaptionTop = 6;  // Label1's top never changes
  int ValueRightMargin = 3;
  int CaptionOffset = 50;    // captions start this far left of the values' right edge
  int Label2DesignTop = 37;  // kept by Label2 until values are first shown
  int RecvDesignTop = 17;
  int SendDesignTop = 48;
};

// Text sizes as drawn on the screen, measured by the shell.
struct LabelMetrics {
  int CaptionHeight = 11;
  int Label1Width = 24;  // "受信:" in the caption font
  int Label2Width = 24;  // "送信:"
  int ValueHeight = 13;
  int RecvWidth = 7;  // the current value texts in the value font
  int SendWidth = 7;
  int WidestValue = 0;  // W: "999999M" in the value font
};

struct MainLayout {
  LayoutRect Bevel, Graph, Label1, Label2, Recv, Send;
  bool CaptionsVisible = true;
  bool ValuesVisible = true;
  bool GraphVisible = true;  // false when the graph is 2 pixels wide or less
  std::int32_t DefaultHeight = 0;
};

// An auto-sized, right-aligned value label takes `width` and keeps its right edge at `right`.
void AlignRight(LayoutRect& label, int right, int width) noexcept;

// A line spacing (measured gap plus the file's ValueLineSpacing, which a hand edit can make
// anything) and a measured text size are held to this many pixels either way: 16-bit
// coordinates, far beyond any screen, so the layout's sums stay well inside 32 bits.
inline constexpr std::int32_t kLayoutLimit = 32767;
std::int32_t LimitedSpacing(std::int64_t measured, std::int64_t extra) noexcept;

// Scales a design value by the form font's measured text height over the design's 12.
int ScaleDesign(int value, int text_height) noexcept;
DesignLayout ScaledDesign(int text_height) noexcept;

// Lays out for a client area (each side held to 0 to 2^24) of `client_width` x `client_height`.
// `previous` carries the label tops and DefaultHeight of the last layout, which hidden values keep.
MainLayout LayOutLabels(const DesignLayout& design, const LabelMetrics& metrics,
                        const LineSpacings& spacings, bool show_value, int client_width,
                        int client_height, const MainLayout& previous);

// The design layout before any settings are applied (values shown, captions at design tops).
MainLayout InitialLayout(const DesignLayout& design, const LabelMetrics& metrics, int client_width,
                         int client_height);

}  // namespace ripplet
