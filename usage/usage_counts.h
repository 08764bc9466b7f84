// Byte totals per local date and adapter, and this run's counts that no file holds yet.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "usage/calendar.h"

namespace ripplet {

// Received and sent bytes. Sums saturate at the largest 64-bit count rather than wrap, so
// a total is never smaller than a part of it.
struct ByteCounts {
  std::uint64_t Received = 0;
  std::uint64_t Sent = 0;

  ByteCounts& operator+=(const ByteCounts& other) noexcept;
  bool IsZero() const noexcept { return Received == 0 && Sent == 0; }
  friend bool operator==(const ByteCounts&, const ByteCounts&) = default;
};

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) noexcept;

// One row of the usage file: a local date and an adapter's description (UTF-8).
using UsageKey = std::pair<Date, std::string>;
using UsageTable = std::map<UsageKey, ByteCounts>;

// Adds every row of `from` into `into`; a row both hold is summed.
void MergeUsage(UsageTable& into, const UsageTable& from);

// This run's counts since its last successful save. A save reads the file, adds these to
// it and writes it; only once that write succeeded are they Saved(), so they are added to
// the file exactly once, whatever fails in between.
class UsageCounter {
 public:
  // The bytes of one sample, taken on `date` from the adapter `adapter`. Allocates only
  // for a date or adapter that this run has not counted since its last save.
  void Add(const Date& date, std::string_view adapter, const ByteCounts& bytes);

  const UsageTable& Unsaved() const noexcept { return unsaved_; }
  bool HasUnsaved() const noexcept { return !unsaved_.empty(); }

  // The file now holds every count of Unsaved().
  void Saved() noexcept;

 private:
  UsageTable unsaved_;
  UsageTable::iterator last_ = unsaved_.end();  // the row the last sample went to
};

}  // namespace ripplet
