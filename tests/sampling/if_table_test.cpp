#include "sampling/if_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/sampling/fake_traffic_source.h"

namespace ripplet {
namespace {

using testing::BuildIfTable;
using testing::FakeRow;

TEST(IfTable, ReadsRowsInPublishedLayout) {
  const auto block = BuildIfTable({{"Loopback", 1, 2}, {"Ethernet", 0xDEADBEEF, 7}});
  const IfTable table(block.data(), block.size());
  ASSERT_EQ(table.RowCount(), 2u);
  EXPECT_EQ(table.Description(0), "Loopback");
  EXPECT_EQ(table.Description(1), "Ethernet");
  EXPECT_EQ(table.InOctets(1), 0xDEADBEEFu);
  EXPECT_EQ(table.OutOctets(1), 7u);
  EXPECT_EQ(table.InOctets(0), 1u);
  EXPECT_EQ(table.OutOctets(0), 2u);
}

TEST(IfTable, EmptyAndShortBlocksHaveNoRows) {
  EXPECT_EQ(IfTable().RowCount(), 0u);
  const unsigned char three[3] = {5, 0, 0};
  EXPECT_EQ(IfTable(three, sizeof three).RowCount(), 0u);
  const auto none = BuildIfTable({});
  EXPECT_EQ(IfTable(none.data(), none.size()).RowCount(), 0u);
  EXPECT_FALSE(IfTable(none.data(), none.size()).Find("").has_value());
}

TEST(IfTable, CountBeyondBlockExposesOnlyRowsThatFit) {
  auto block = BuildIfTable({{"a", 1, 1}, {"b", 2, 2}});
  const std::uint32_t garbage = 0xFFFFFFFF;
  std::memcpy(block.data(), &garbage, 4);
  block.resize(block.size() - 1);  // the second row is now cut short
  const IfTable table(block.data(), block.size());
  ASSERT_EQ(table.RowCount(), 1u);
  EXPECT_EQ(table.Description(0), "a");
  // Rows past the count read as empty, never outside the block (ASan would tell).
  EXPECT_EQ(table.Description(1), "");
  EXPECT_EQ(table.InOctets(1), 0u);
  EXPECT_EQ(table.OutOctets(5), 0u);
  EXPECT_FALSE(table.Find("b").has_value());
}

TEST(IfTable, DescriptionOfAll256BytesHasNoNul) {
  const std::string full(256, 'N');
  const auto block = BuildIfTable({{full, 0, 0}, {full.substr(0, 255), 0, 0}});
  const IfTable table(block.data(), block.size());
  EXPECT_EQ(table.Description(0), full);
  EXPECT_EQ(table.Find(full), 0u);
  EXPECT_EQ(table.Find(full.substr(0, 255)), 1u);
}

TEST(IfTable, FindComparesBytesExactly) {
  const auto block = BuildIfTable({{"", 0, 0},
                                   {"Intel(R) PRO/1000", 0, 0},
                                   {"intel(r) pro/1000", 0, 0},
                                   {"Intel(R) PRO/1000", 0, 0},
                                   {"\x83\x41\x83\x5F\x83\x76\x83\x5E", 0, 0}});  // "アダプタ" in CP932
  const IfTable table(block.data(), block.size());
  EXPECT_EQ(table.Find("Intel(R) PRO/1000"), 1u);  // duplicates: the lower index wins
  EXPECT_EQ(table.Find("intel(r) pro/1000"), 2u);
  EXPECT_EQ(table.Find(""), 0u);
  EXPECT_EQ(table.Find("\x83\x41\x83\x5F\x83\x76\x83\x5E"), 4u);
  EXPECT_FALSE(table.Find("Intel(R) PRO/1000 ").has_value());
  EXPECT_FALSE(table.Find("Intel").has_value());
}

}  // namespace
}  // namespace ripplet
