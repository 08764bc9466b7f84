// The sampler driven by a fake source whose tables (rows of the input's bytes, failed
// reads) and clock come from the input.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "sampling/if_table.h"
#include "sampling/sampler.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

namespace ripplet::fuzz {
namespace {

// The platform side, scripted by the input. A table read fails, or hands out a few rows
// whose descriptions are any bytes of the input: NULs, and 256 bytes or more, included.
class ScriptedSource : public TrafficSource {
 public:
  explicit ScriptedSource(FuzzInput& in, std::string_view content) : in_(in), content_(content) {}

  void ReadIfTable(IfTableBuffer& rows) override {
    const std::uint8_t mode = in_.Number<std::uint8_t>();
    rows.resize(mode % 5 == 0 ? 0u : static_cast<std::size_t>(mode / 5 % 6));
    for (IfRow& row : rows) {
      const std::size_t offset =
          content_.empty() ? 0 : in_.Number<std::uint16_t>() % content_.size();
      const std::string_view bytes =
          content_.substr(offset, in_.Number<std::uint16_t>() % (IfRow::kDescriptionSize + 40u));
      row.SetDescription(bytes.data(), bytes.size());
      // The text as stored: the bytes before the first NUL, no more than 256 of them.
      const std::string_view text = row.Description();
      FUZZ_CHECK(text.size() <= IfRow::kDescriptionSize && bytes.substr(0, text.size()) == text);
      FUZZ_CHECK(text.find('\0') == std::string_view::npos);
      FUZZ_CHECK(text.size() == std::min(bytes.size(), IfRow::kDescriptionSize) ||
                 bytes[text.size()] == '\0');
      row.Index = in_.Number<std::uint8_t>() % 8u;  // few interfaces: rows share them
      row.InOctets = in_.Number<std::uint32_t>();
      row.OutOctets = in_.Number<std::uint32_t>();
    }
  }

  // The 64-bit counters, when the scripted platform has them.
  bool ReadWideCounters(std::uint32_t interface_index, Octets& octets) override {
    FUZZ_CHECK(sampler_ != nullptr && sampler_->AdapterIndex() < sampler_->Table().size());
    FUZZ_CHECK(sampler_->Table()[sampler_->AdapterIndex()].Index == interface_index);
    if (in_.Number<std::uint8_t>() % 4 == 0) return false;
    octets = {in_.Number<std::uint64_t>(), in_.Number<std::uint64_t>(), true};
    return true;
  }

  // A watch starts only on the row of the current table that carries the adapter, and an
  // interface whose watch failed is not tried again for a while.
  bool Watch(std::uint32_t interface_index) override {
    FUZZ_CHECK(sampler_ != nullptr);
    const std::uint32_t row = sampler_->AdapterIndex();
    FUZZ_CHECK(row < sampler_->Table().size());
    FUZZ_CHECK(sampler_->Table()[row].Description() == *adapter_);
    FUZZ_CHECK(sampler_->Table()[row].Index == interface_index);
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

  std::uint32_t TickCount() override { return tick_ += in_.Number<std::uint16_t>() % 3000u; }

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
  std::uint32_t tick_ = 0;
};

void CheckSampler(FuzzInput& in, std::string_view content) {
  ScriptedSource source(in, content);
  Sampler sampler(source);
  sampler.RefreshIfTable();
  // The adapter: one of the first table's descriptions, or text of the input.
  const std::size_t pick = in.Number<std::uint8_t>() % 4;
  std::string adapter(pick < sampler.Table().size() ? sampler.Table()[pick].Description() : "");
  if (adapter.empty()) adapter = std::string(content.substr(0, in.Number<std::uint8_t>() % 16));
  source.Observe(sampler, adapter);

  for (int step = 0; step < 24 && in.Remaining() > 0; ++step) {
    switch (in.Number<std::uint8_t>() % 6) {
      case 0:
        sampler.RefreshIfTable();
        break;
      case 1:
        sampler.LookupAdapter(adapter);
        FUZZ_CHECK(sampler.AdapterIndex() == FindAdapter(sampler.Table(), adapter).value_or(0));
        break;
      case 2:
        sampler.Prime(adapter);
        break;
      case 3:
        sampler.ReleaseSnapshot();
        FUZZ_CHECK(sampler.Table().empty());
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
            FUZZ_CHECK(row < sampler.Table().size());
            FUZZ_CHECK(sampler.Table()[row].Description() == adapter);
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
  ripplet::fuzz::FuzzInput in(data, size);
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  ripplet::fuzz::CheckSampler(in, content);
  return 0;
}
