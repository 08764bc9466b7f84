#include "usage/usage_counts.h"

#include <limits>

namespace ripplet {

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) noexcept {
  const std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
  return b > most - a ? most : a + b;
}

ByteCounts& ByteCounts::operator+=(const ByteCounts& other) noexcept {
  Received = SaturatingAdd(Received, other.Received);
  Sent = SaturatingAdd(Sent, other.Sent);
  return *this;
}

void MergeUsage(UsageTable& into, const UsageTable& from) {
  for (const auto& [key, counts] : from) into[key] += counts;
}

void UsageCounter::Add(const Date& date, std::string_view adapter, const ByteCounts& bytes) {
  if (bytes.IsZero()) return;
  // Most samples go to the row the last one went to: found without building a key.
  if (last_ == unsaved_.end() || last_->first.first != date || last_->first.second != adapter) {
    last_ = unsaved_.try_emplace(UsageKey{date, std::string(adapter)}).first;
  }
  last_->second += bytes;
}

void UsageCounter::Saved() noexcept {
  unsaved_.clear();
  last_ = unsaved_.end();
}

}  // namespace ripplet
