// The interface-table view over arbitrary blocks, and the sampler driven by a fake
// source whose table sizes, contents, failed fills and clock come from the input.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sampling/if_table.h"
#include "sampling/sampler.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

namespace ripplet::fuzz {
namespace {

std::uint32_t ReadU32(const unsigned char* at) {
  std::uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

void CheckTable(const unsigned char* block, std::size_t size) {
  const IfTable table(block, size);
  const std::uint32_t rows = table.RowCount();
  FUZZ_CHECK(kIfTableRowsOffset + std::size_t{rows} * kIfRowSize <= std::max(size, kIfTableRowsOffset));
  if (size >= kIfTableRowsOffset) FUZZ_CHECK(rows <= ReadU32(block));
  for (std::uint32_t row = 0; row < rows + 2; ++row) {
    const std::string_view description = table.Description(row);
    if (row >= rows) {
      FUZZ_CHECK(description.empty() && table.InOctets(row) == 0 && table.OutOctets(row) == 0);
      continue;
    }
    const unsigned char* at = block + kIfTableRowsOffset + std::size_t{row} * kIfRowSize;
    FUZZ_CHECK(description.data() == reinterpret_cast<const char*>(at + kIfRowDescrOffset));
    FUZZ_CHECK(description.size() <= kIfRowDescrSize);
    FUZZ_CHECK(description.find('\0') == std::string_view::npos);
    FUZZ_CHECK(table.InOctets(row) == ReadU32(at + kIfRowInOctetsOffset));
    FUZZ_CHECK(table.OutOctets(row) == ReadU32(at + kIfRowOutOctetsOffset));
    const auto found = table.Find(description);
    FUZZ_CHECK(found && *found <= row && table.Description(*found) == description);
  }
  FUZZ_CHECK(!table.Find(std::string(kIfRowDescrSize + 1, 'x')));
}

// The platform side, scripted by the input. Each table it hands out is a prefix of the
// input's bytes; a fill may also fail and write nothing.
class ScriptedSource : public TrafficSource {
 public:
  explicit ScriptedSource(FuzzInput& in, std::string_view content) : in_(in), content_(content) {}

  std::uint32_t IfTableSize() override {
    // Real tables stay small; a few rows are enough to cover every path.
    size_ = in_.Number<std::uint16_t>() % (kIfTableRowsOffset + 5 * kIfRowSize);
    return size_;
  }

  bool FillIfTable(unsigned char* block, std::uint32_t& size) override {
    const std::uint8_t mode = in_.Number<std::uint8_t>();
    if (mode % 5 == 0) {  // the table grew: too small, and here is what it needs now
      size = std::min<std::uint32_t>(size + kIfRowSize, kIfTableRowsOffset + 6 * kIfRowSize);
      return false;
    }
    const std::size_t offset = content_.empty() ? 0 : in_.Number<std::uint16_t>() % content_.size();
    const std::size_t n = std::min<std::size_t>(size, content_.size() - offset);
    std::memcpy(block, content_.data() + offset, n);
    if (size >= kIfTableRowsOffset) {
      // Mostly an honest row count, so that rows are found.
      if (mode % 5 != 1) {
        const auto rows = static_cast<std::uint32_t>((size - kIfTableRowsOffset) / kIfRowSize);
        std::memcpy(block, &rows, sizeof rows);
      }
    }
    return true;
  }

  // The 64-bit counters, when the scripted platform has them.
  bool ReadWideCounters(std::uint32_t interface_index, Octets& octets) override {
    FUZZ_CHECK(sampler_ != nullptr);
    FUZZ_CHECK(sampler_->Table().InterfaceIndex(sampler_->AdapterIndex()) == interface_index);
    if (in_.Number<std::uint8_t>() % 4 == 0) return false;
    octets = {in_.Number<std::uint64_t>(), in_.Number<std::uint64_t>(), true};
    return true;
  }

  // A watch starts only on the row of the current table that carries the adapter, and an
  // interface whose watch failed is not tried again for a while.
  bool Watch(std::uint32_t interface_index) override {
    FUZZ_CHECK(sampler_ != nullptr);
    const std::uint32_t row = sampler_->AdapterIndex();
    FUZZ_CHECK(row < sampler_->Table().RowCount());
    FUZZ_CHECK(sampler_->Table().Description(row) == *adapter_);
    FUZZ_CHECK(sampler_->Table().InterfaceIndex(row) == interface_index);
    if (failed_ && failed_index_ == interface_index) {
      FUZZ_CHECK(tick_ - failed_tick_ >= Sampler::kWatchRetryMs);
    }
    watching_ = in_.Number<std::uint8_t>() % 4 != 0;
    watched_index_ = interface_index;
    if (!watching_) Failed();
    return watching_;
  }

  bool ReadWatched(Octets& octets) override {
    FUZZ_CHECK(watching_);  // never asked after a failed watch or a lost one
    watching_ = in_.Number<std::uint8_t>() % 8 != 0;
    octets = {in_.Number<std::uint64_t>(), in_.Number<std::uint64_t>(), true};
    read_watched_ = watching_;
    if (!watching_) Failed();
    return watching_;
  }

  std::uint32_t TickCount() override { return tick_ += in_.Number<std::uint16_t>() % 3000; }

  void Observe(const Sampler& sampler, const std::string& adapter) {
    sampler_ = &sampler;
    adapter_ = &adapter;
  }
  bool TakeReadWatched() { return std::exchange(read_watched_, false); }

 private:
  FuzzInput& in_;
  const Sampler* sampler_ = nullptr;
  const std::string* adapter_ = nullptr;
  void Failed() {
    failed_ = true;
    failed_index_ = watched_index_;
    failed_tick_ = tick_;
  }

  bool watching_ = false;
  bool read_watched_ = false;
  std::uint32_t watched_index_ = 0;
  bool failed_ = false;
  std::uint32_t failed_index_ = 0;
  std::uint32_t failed_tick_ = 0;
  std::string_view content_;
  std::uint32_t size_ = 0;
  std::uint32_t tick_ = 0;
};

void CheckSampler(FuzzInput& in, std::string_view content) {
  ScriptedSource source(in, content);
  Sampler sampler(source);
  sampler.RefreshIfTable();
  // The adapter: one of the first table's descriptions, or text of the input.
  std::string adapter(sampler.Table().Description(in.Number<std::uint8_t>() % 4));
  if (adapter.empty()) adapter = std::string(content.substr(0, in.Number<std::uint8_t>() % 16));
  source.Observe(sampler, adapter);

  for (int step = 0; step < 24 && in.Remaining() > 0; ++step) {
    switch (in.Number<std::uint8_t>() % 6) {
      case 0:
        sampler.RefreshIfTable();
        break;
      case 1:
        sampler.LookupAdapter(adapter);
        FUZZ_CHECK(sampler.AdapterIndex() == sampler.Table().Find(adapter).value_or(0));
        break;
      case 2:
        sampler.Prime(adapter);
        break;
      case 3:
        sampler.ReleaseSnapshot();
        FUZZ_CHECK(sampler.Table().RowCount() == 0);
        break;
      default: {
        RatePair pair{-1, -1};
        source.TakeReadWatched();  // forget a read of an earlier step (a priming's)
        const bool no_data = sampler.SampleTraffic(adapter, pair);
        const bool from_watch = source.TakeReadWatched();
        if (no_data) {
          FUZZ_CHECK(pair.Recv == 0 && pair.Send == 0);
        } else {
          // Data only from the adapter's own row (or its watch, which starts only there),
          // never negative: a 64-bit counter that went down is a new baseline.
          if (from_watch) {
            FUZZ_CHECK(sampler.Watching());
          } else {
            const std::uint32_t row = sampler.AdapterIndex();
            FUZZ_CHECK(row < sampler.Table().RowCount());
            FUZZ_CHECK(sampler.Table().Description(row) == adapter);
          }
          FUZZ_CHECK(pair.Recv >= 0 && pair.Send >= 0);
        }
        break;
      }
    }
  }
}

}  // namespace
}  // namespace ripplet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ripplet;
  using namespace ripplet::fuzz;
  // The whole input as a block, in a heap copy of exactly its size: a read past its
  // end is caught even where the fuzzer's own buffer is larger.
  const auto block = std::make_unique<unsigned char[]>(size);
  std::memcpy(block.get(), data, size);
  CheckTable(block.get(), size);
  const IfTable empty(nullptr, size);  // no block: no rows, whatever size is claimed
  FUZZ_CHECK(empty.Size() == 0 && empty.RowCount() == 0 && empty.Description(0).empty());

  FuzzInput in(data, size);
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  CheckSampler(in, content);
  return 0;
}
