#include "app/label_layout.h"

#include <algorithm>
#include <cstdint>

namespace ripplet {

int ScaleDesign(int value, int text_height) noexcept {
  // MulDiv: rounded to nearest, halves away from zero.
  const std::int64_t p = static_cast<std::int64_t>(value) * text_height;
  return static_cast<int>(p >= 0 ? (p + 6) / 12 : (p - 6) / 12);
}

DesignLayout ScaledDesign(int text_height) noexcept {
  if (text_height == 12) return {};
  // Edges scale, and sizes are the differences of scaled edges.
  const auto s = [text_height](int v) { return ScaleDesign(v, text_height); };
  DesignLayout d;
  d.GraphLeft = s(4);
  d.GraphTop = s(4);
  d.GraphBottomMargin = s(68) - s(64);
  d.CaptionTop = s(6);
  d.ValueRightMargin = s(304) - s(301);
  d.CaptionOffset = s(301) - s(251);
  d.Label2DesignTop = s(37);
  d.RecvDesignTop = s(17);
  d.SendDesignTop = s(48);
  return d;
}

void AlignRight(LayoutRect& label, int right, int width) noexcept {
  label.Left = right - width;
  label.Width = width;
}

std::int32_t LimitedSpacing(std::int64_t measured, std::int64_t extra) noexcept {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(measured + extra, -kLayoutLimit, kLayoutLimit));
}

namespace {

constexpr int kClientLimit = 1 << 24;

int Limited(int value, int low, int high) noexcept { return std::clamp(value, low, high); }

LabelMetrics LimitedMetrics(LabelMetrics m) noexcept {
  for (int* v : {&m.CaptionHeight, &m.Label1Width, &m.Label2Width, &m.ValueHeight, &m.RecvWidth,
                 &m.SendWidth, &m.WidestValue}) {
    *v = Limited(*v, 0, kLayoutLimit);
  }
  return m;
}

LayoutRect GraphRect(const DesignLayout& d, int width, int client_height) {
  return {d.GraphLeft, d.GraphTop, width, client_height - d.GraphTop - d.GraphBottomMargin};
}

void FrameGraph(MainLayout& l) {
  l.Bevel = {l.Graph.Left - 1, l.Graph.Top - 1, l.Graph.Width + 2, l.Graph.Height + 2};
  l.GraphVisible = l.Graph.Width > 2;
}

}  // namespace

MainLayout InitialLayout(const DesignLayout& d, const LabelMetrics& m, int client_width,
                         int client_height) {
  MainLayout l;
  const int value_right = client_width - d.ValueRightMargin;
  const int caption_left = value_right - d.CaptionOffset;
  l.Label1 = {caption_left, d.CaptionTop, m.Label1Width, m.CaptionHeight};
  l.Label2 = {caption_left, d.Label2DesignTop, m.Label2Width, m.CaptionHeight};
  l.Recv = {value_right - m.RecvWidth, d.RecvDesignTop, m.RecvWidth, m.ValueHeight};
  l.Send = {value_right - m.SendWidth, d.SendDesignTop, m.SendWidth, m.ValueHeight};
  l.Graph = GraphRect(d, caption_left - 10, client_height);
  FrameGraph(l);
  return l;
}

MainLayout LayOutLabels(const DesignLayout& d, const LabelMetrics& measured,
                        const LineSpacings& given, bool show_value, int given_width,
                        int given_height, const MainLayout& previous) {
  // Held first, so that no sum below can overflow whatever the settings file says.
  const LabelMetrics m = LimitedMetrics(measured);
  LineSpacings spacings{};
  for (std::size_t i = 0; i < spacings.size(); ++i) spacings[i] = LimitedSpacing(given[i], 0);
  const int client_width = Limited(given_width, 0, kClientLimit);
  const int client_height = Limited(given_height, 0, kClientLimit);
  MainLayout l = previous;
  l.ValuesVisible = show_value;
  l.CaptionsVisible = show_value;
  const int value_right = client_width - d.ValueRightMargin;

  if (show_value) {
    // Right-aligned auto-sized values keep their right edge at the anchor.
    AlignRight(l.Recv, value_right, m.RecvWidth);
    l.Recv.Height = m.ValueHeight;
    AlignRight(l.Send, value_right, m.SendWidth);
    l.Send.Height = m.ValueHeight;
    l.Label1.Width = m.Label1Width;
    l.Label1.Height = m.CaptionHeight;
    l.Label2.Width = m.Label2Width;
    l.Label2.Height = m.CaptionHeight;

    // The captions start where the widest value text would start.
    l.Label1.Left = l.Recv.Right() - m.WidestValue;
    l.Label2.Left = l.Label1.Left;
    l.Graph = GraphRect(d, l.Label1.Left - 10, client_height);

    l.Label1.Top = d.CaptionTop;
    l.Recv.Top = l.Label1.Bottom() + spacings[0];
    l.Label2.Top = l.Recv.Bottom() + spacings[1];
    l.Send.Top = l.Label2.Bottom() + spacings[2];
    l.DefaultHeight = l.Send.Bottom() + 7;

    if (client_height < l.DefaultHeight) {
      // Compact: the two values alone, one under the other.
      l.CaptionsVisible = false;
      l.Recv.Top = 2;
      l.Send.Top = l.Recv.Bottom() + spacings[3];
    }
  } else {
    l.Graph = GraphRect(d, client_width - 2 * d.GraphLeft + 1, client_height);
  }
  FrameGraph(l);
  return l;
}

}  // namespace ripplet
