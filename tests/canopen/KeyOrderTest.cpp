// The key order of the table writers: one or more key parts, signed 32-bit comparison, the two
// tie rules, and reading later parts only where they decide.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canopen/KeyOrder.h"

namespace quastor {
namespace {

using Keys = std::vector<std::vector<std::string>>;

Result<std::vector<std::size_t>> Order(const Keys& keys, EqualKeys equal) {
  const std::size_t parts = keys.empty() ? 1 : keys[0].size();
  return KeyOrder(
      keys.size(), parts,
      [&](std::size_t record, std::size_t part) { return std::string_view(keys[record][part]); },
      equal);
}

TEST(KeyOrder, AscendingWithEachTieRule) {
  constexpr EqualKeys kLater = EqualKeys::kLaterFirst;
  constexpr EqualKeys kList = EqualKeys::kListOrder;
  const struct {
    const char* fault;
    Keys keys;
    EqualKeys equal;
    std::vector<std::size_t> order;
  } cases[] = {
      {"equal keys not later row first", {{"5"}, {"3"}, {"5"}}, kLater, {1, 2, 0}},
      {"hexadecimal cobids", {{"0x285"}, {"0x181"}, {"0x181"}}, kLater, {2, 1, 0}},
      {"notations compared as text", {{"0x1A00"}, {"6656"}, {"$1A01"}}, kLater, {1, 0, 2}},
      {"bit 31 not negative", {{"0x181"}, {"0x80000181"}, {"-5"}}, kLater, {1, 2, 0}},
      {"keys at or above the sentinel lost or looping",
       {{"0x1FFFFFFF"}, {"0x999999"}, {"10066330"}, {"1"}, {"0x999999"}},
       kLater,
       {3, 4, 1, 2, 0}},
      {"second part ignored",
       {{"0x2001", "2"}, {"0x2000", "5"}, {"0x2001", "1"}},
       kList,
       {1, 2, 0}},
      {"equal pairs not in list order", {{"1", "1"}, {"1", "1"}, {"0", "9"}}, kList, {2, 0, 1}},
      {"three parts, later first",
       {{"7", "2", "3"}, {"7", "2", "3"}, {"7", "1", "9"}, {"6", "9", "9"}},
       kLater,
       {3, 2, 1, 0}},
      {"nothing to order", {}, kLater, {}},
  };
  for (const auto& c : cases) {
    const auto order = Order(c.keys, c.equal);
    ASSERT_TRUE(order.ok()) << c.fault << ": " << order.error();
    EXPECT_EQ(*order, c.order) << c.fault;
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
    const auto order = Order(c.keys, EqualKeys::kListOrder);
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
