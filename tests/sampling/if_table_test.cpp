#include "sampling/if_table.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/sampling/fake_traffic_source.h"

namespace ripplet {
namespace {

using testing::ToRows;

TEST(IfTable, DescriptionEndsAtTheFirstNulOrAfter256Bytes) {
  const std::string full(256, 'N');
  const auto table = ToRows({{full},
                             {full + "overflow"},
                             {std::string("Loopback\0junk after", 19)},
                             {std::string("\0Ethernet", 9)}});
  EXPECT_EQ(table[0].Description(), full);
  EXPECT_EQ(table[1].Description(), full);
  EXPECT_EQ(table[2].Description(), "Loopback");
  EXPECT_EQ(table[3].Description(), "");
  EXPECT_EQ(FindAdapter(table, full), 0u);
  EXPECT_FALSE(FindAdapter(table, full.substr(0, 255)).has_value());
  EXPECT_EQ(FindAdapter(table, ""), 3u);
}

TEST(IfTable, FindComparesBytesExactly) {
  const auto table = ToRows({{""},
                             {"Intel(R) PRO/1000"},
                             {"intel(r) pro/1000"},
                             {"Intel(R) PRO/1000"},
                             {"\x83\x41\x83\x5F\x83\x76\x83\x5E"}});  // "アダプタ" in CP932
  EXPECT_EQ(FindAdapter(table, "Intel(R) PRO/1000"), 1u);  // duplicates: the lower index wins
  EXPECT_EQ(FindAdapter(table, "intel(r) pro/1000"), 2u);
  EXPECT_EQ(FindAdapter(table, ""), 0u);
  EXPECT_EQ(FindAdapter(table, "\x83\x41\x83\x5F\x83\x76\x83\x5E"), 4u);
  EXPECT_FALSE(FindAdapter(table, "Intel(R) PRO/1000 ").has_value());
  EXPECT_FALSE(FindAdapter(table, "Intel").has_value());
  EXPECT_FALSE(FindAdapter(IfTableBuffer{}, "").has_value());
}

}  // namespace
}  // namespace ripplet
