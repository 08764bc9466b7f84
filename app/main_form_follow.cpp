// The adapter measured: the one the settings name, or, with the automatic choice, the
// adapter of the default route, followed as it moves. The choice is looked at again on the
// system's change notices, every kFollowCheckMs, at once after a resume and when the
// followed adapter stops giving data. A fixed adapter pays for none of it.
#include "app/main_form.h"
#include "win32/win_text.h"

namespace ripplet {
namespace {

constexpr wchar_t kAutoCaption[] = L"自動 (既定の経路): ";
constexpr wchar_t kNoRouteText[] = L"なし";

}  // namespace

void TMainForm::SelectAdapter() {
  if (!settings_.AutoAdapter) {
    StopFollowing();
    sampler_.LookupAdapter(settings_.AdapterName);
    sampler_.Prime(settings_.AdapterName);
    DescribeAdapter();
    return;
  }
  route_notices_.Start(Handle(), kRouteChangedMessage);
  if (!follow_timer_running_) {
    // Without the timer the notices and the ticks' vanish check still move the choice.
    follow_timer_running_ = ::SetTimer(Handle(), kFollowTimerId, kFollowCheckMs, nullptr) != 0;
  }
  FollowDefaultRoute(true);
}

void TMainForm::StopFollowing() noexcept {
  route_notices_.Stop();
  if (follow_timer_running_) ::KillTimer(Handle(), kFollowTimerId);
  follow_timer_running_ = false;
  offline_ = false;
  followed_interface_.reset();
}

// `again`: the settings were applied, so the sampler starts anew even on the same adapter.
void TMainForm::FollowDefaultRoute(bool again) {
  if (!settings_.AutoAdapter) return;
  last_follow_tick_ = ::GetTickCount();
  sampler_.RefreshIfTable();
  const IfTableBuffer& table = sampler_.Table();
  std::optional<std::size_t> row;
  if (source_.ReadRoutes(routes_)) {
    row = ChooseFollowedRow(routes_, table, followed_interface_);
  } else {
    // A routing table that cannot be read: the adapter followed last goes on being
    // measured, as a fixed choice of it would be, until the table can be read again.
    // (None followed yet: nothing to measure; an empty name would match an adapter that
    // has no description.)
    if (!settings_.AdapterName.empty()) row = FindAdapter(table, settings_.AdapterName);
  }

  if (!row) {
    // Offline: "-" and no data, until a default route comes back.
    const bool changed = again || !offline_;
    offline_ = true;
    followed_interface_.reset();
    if (changed) DescribeAdapter();
    return;
  }
  const IfRow& chosen = table[*row];
  if (!again && !offline_ && followed_interface_ == chosen.Index &&
      settings_.AdapterName == chosen.Description()) {
    return;
  }
  offline_ = false;
  followed_interface_ = chosen.Index;
  // Saved so, a copy of the settings file that knows no automatic choice starts on it.
  settings_.AdapterName = std::string(chosen.Description());
  // The new adapter's first sample is a baseline: no spike from the old one's counters. The
  // next tick comes a whole interval after it: a rate over the few milliseconds to a tick
  // that was due anyway would be mostly noise (packets come in bursts).
  sampler_.SelectRow(static_cast<std::uint32_t>(*row));
  sampler_.Prime(settings_.AdapterName);
  if (main_timer_running_) StartMainTimer();
  DescribeAdapter();
}

bool TMainForm::SampleFollowed(RatePair& pair) {
  if (settings_.AutoAdapter && offline_) return sampler_.NoAdapter(pair);
  const bool no_data = sampler_.SampleTraffic(settings_.AdapterName, pair);
  // The followed adapter may be gone: look at the routes again, at most once a second.
  if (no_data && settings_.AutoAdapter && ::GetTickCount() - last_follow_tick_ >= kVanishCheckMs) {
    FollowDefaultRoute(false);
  }
  return no_data;
}

// What the automatic choice follows now, or would follow, from the current snapshot.
std::optional<std::string> TMainForm::DefaultRouteAdapter() {
  if (settings_.AutoAdapter && offline_) return std::nullopt;
  if (settings_.AutoAdapter) return settings_.AdapterName;
  if (!source_.ReadRoutes(routes_)) return std::nullopt;
  const auto row = ChooseFollowedRow(routes_, sampler_.Table(), std::nullopt);
  if (!row) return std::nullopt;
  return std::string(sampler_.Table()[*row].Description());
}

void TMainForm::DescribeAdapter() {
  std::wstring text;
  if (settings_.AutoAdapter) {
    text = std::wstring(kAutoCaption) +
           (offline_ ? std::wstring(kNoRouteText) : AnsiToWide(settings_.AdapterName));
  } else {
    text = AnsiToWide(settings_.AdapterName);
  }
  if (text == graph_description_) return;
  graph_description_ = std::move(text);
  accessible_.DescriptionChanged(Handle());
}

}  // namespace ripplet
