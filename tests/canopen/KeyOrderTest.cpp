// The key order of the table writers: one or more key parts, signed 32-bit comparison, the two
// stable order of equal keys, and reading later parts only where they decide.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canopen/KeyOrder.h"

namespace quastor {
namespace {

using Keys = std::vector<std::vector<std::string>>;

Result<std::vector<std::size_t>> Order(const Keys& keys) {
  const std::size_t parts = keys.empty() ? 1 : keys[0].size();
  return KeyOrder(keys.size(), parts, [&](std::size_t record, std::size_t part) {
    return std::string_view(keys[record][part]);
  });
}

TEST(KeyOrder, AscendingAndEqualKeysInListOrder) {
  const struct {
    const char* fault;
    Keys keys;
    std::vector<std::size_t> order;
  } cases[] = {
      // Putting the later of equal keys first swapped them at every save without edits.
      {"equal keys not in list order", {{"5"}, {"3"}, {"5"}}, {1, 0, 2}},
      {"hexadecimal cobids", {{"0x285"}, {"0x181"}, {"0x181"}}, {1, 2, 0}},
      {"notations compared as text", {{"0x1A00"}, {"6656"}, {"$1A01"}}, {0, 1, 2}},
      {"bit 31 not negative", {{"0x181"}, {"0x80000181"}, {"-5"}}, {1, 2, 0}},
      {"keys at or above the sentinel lost or looping",
       {{"0x1FFFFFFF"}, {"0x999999"}, {"10066330"}, {"1"}, {"0x999999"}},
       {3, 1, 4, 2, 0}},
      {"second part ignored", {{"0x2001", "2"}, {"0x2000", "5"}, {"0x2001", "1"}}, {1, 2, 0}},
      {"equal pairs not in list order", {{"1", "1"}, {"1", "1"}, {"0", "9"}}, {2, 0, 1}},
      {"three parts",
       {{"7", "2", "3"}, {"7", "2", "3"}, {"7", "1", "9"}, {"6", "9", "9"}},
       {3, 2, 0, 1}},
      {"nothing to order", {}, {}},
  };
  for (const auto& c : cases) {
    const auto order = Order(c.keys);
    ASSERT_TRUE(order.ok()) << c.fault << ": " << order.error();
    EXPECT_EQ(*order, c.order) << c.fault;
    // What is in key order already stays as it is.
    if (order.ok() && !c.keys.empty()) {
      Keys sorted;
      for (const std::size_t r : *order)
        sorted.push_back(c.keys[r]);
      const auto again = Order(sorted);
      ASSERT_TRUE(again.ok());
      for (std::size_t r = 0; r < again->size(); ++r)
        EXPECT_EQ((*again)[r], r) << c.fault << ": a second save moved record " << r;
    }
  }
}

TEST(KeyOrder, KeyThatIsNotANumberFailsAndLaterPartsAreReadOnlyWhereTheyDecide) {
  const struct {
    Keys keys;
    const char* error;  // nullptr: ordered
  } cases[] = {
      {{{"5"}, {"x"}, {"y"}}, "'x' is not a valid integer value"},
      {{{"5 "}}, "'5 ' is not a valid integer value"},
      {{{""}}, "'' is not a valid integer value"},
      {{{"1", "abc"}, {"2", "def"}}, nullptr},
      {{{"1", "abc"}, {"1", "2"}}, "'abc' is not a valid integer value"},
      {{{"1", "1", "z"}, {"1", "2", "y"}}, nullptr},
  };
  for (const auto& c : cases) {
    const auto order = Order(c.keys);
    if (c.error == nullptr) {
      EXPECT_TRUE(order.ok()) << c.keys[0][1];
    } else {
      ASSERT_FALSE(order.ok()) << c.error;
      EXPECT_EQ(order.error(), c.error);
    }
  }
}

}  // namespace
}  // namespace quastor
