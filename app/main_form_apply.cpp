// Applying the settings record to the live window: every change of settings takes effect
// here, and every resize runs it, which clears the graph.
#include "app/frame_rules.h"
#include "app/main_form.h"
#include "display/graph_math.h"

namespace ripplet {

void TMainForm::ApplySettings() {
  frame_.SettingsAppliedAt(ClientSize(Handle()));

  frame_.SetOpacity(Handle(), OpacityOf(settings_.AlphaBlend));
  frame_.SetScreenSnap(settings_.SnapWindow);

  if (settings_.ShowValue) {
    // The value font's charset is set on the settings' own font, as the font picker sees it.
    settings_.ValueFont.Charset = DEFAULT_CHARSET;
    layout_.MakeLabelFonts(settings_.ValueFont);
    layout_.MeasureLabels();
  }
  layout_.LayOut(Handle(), settings_.ShowValue);
  accessible_.LayoutChanged(Handle());
  ResetGraph();

  if (phase_ == Phase::kCreating && startup_.SampleAfterFirstPaint) {
    // Nothing of the first picture depends on the adapter (the values read "-" until the
    // first tick): it is looked up once that picture is on the screen.
    adapter_pending_ = true;
  } else {
    adapter_pending_ = false;
    SelectAdapter();
  }

  graph_.ResetSeries();
  readout_.Restart(settings_.GraphUnit);
  accessible_.UnitApplied(Handle());

  // Restarting the timer makes the next tick come one full interval from now.
  StartMainTimer();
  hover_.Bind(Handle(), settings_.HideWindow);
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TMainForm::ResetGraph() {
  const MainLayout& layout = layout_.Current();
  if (!layout.GraphVisible) return;  // hidden: the bitmap is left as it was
  const int h = layout.Graph.Height;
  graph_.Reset(layout.Graph.Width, h,
               {ColourRefOf(settings_.BackColor), ColourRefOf(settings_.MiddleColor),
                ColourRefOf(settings_.RecvColor), ColourRefOf(settings_.SendColor)},
               MiddleY(h, settings_.GraphMiddle, settings_.GraphRange));
}

// The Options dialog's default-height button: the size change applies the settings.
void TMainForm::RestoreDefaultHeight() {
  MeterFrame::SetClientHeight(Handle(), layout_.Current().DefaultHeight);
}

}  // namespace ripplet
