#include "host/modBasis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "contracts/ObjectImpl.h"
#include "host/KeyedTable.h"
#include "testing/ErrorNumberOf.h"

namespace {

using modBasis::List;
using vx::Value;

using vx::testing::ErrorNumberOf;

// The value and its type, so that a 16-bit 0 and a single 0.0 are told apart.
::testing::AssertionResult Same(const Value& actual, const Value& expected) {
  const bool equal = actual.storage().index() == expected.storage().index() &&
                     std::visit(
                         [&](const auto& a) {
                           using T = std::decay_t<decltype(a)>;
                           if constexpr (std::is_same_v<T, vx::Ref<vx::IObject>>) {
                             return a.get() == std::get<T>(expected.storage()).get();
                           } else {
                             return a == std::get<T>(expected.storage());
                           }
                         },
                         actual.storage());
  if (equal) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "type index " << actual.storage().index() << " instead of "
         << expected.storage().index() << " or another value";
}

TEST(MaxOfList, TheLargestOrSmallestEntryKeepsItsOwnTypeAndTiesKeepTheEarliest) {
  struct Case {
    Value (*pick)(const List&, vx::Here);
    List list;
    Value expected;
  };
  const auto max = &modBasis::MaxOfList;
  const auto min = &modBasis::MinOfList;
  const Case cases[] = {
      {max, List{int16_t{0}, -120.0f}, int16_t{0}},
      {max, List{1500.0f, 1200.0f}, 1500.0f},
      {max, List{int16_t{3}, 7.5, int32_t{7}}, 7.5},
      {max, List{u"x"}, u"x"},
      {min, List{28800.0f, 1500.0f}, 1500.0f},
      {min, List{int32_t{-5}, -4.5f}, int32_t{-5}},
      {min, List{int32_t{9}}, int32_t{9}},
      {max, List{int16_t{0}, 0.0f}, int16_t{0}},
      {min, List{0.0f, int16_t{0}}, 0.0f},
      {max, List{int32_t{1}, int16_t{2}, 2.0}, int16_t{2}},
      // A number is below any string, even the empty one; strings compare by code unit.
      {max, List{u"", 1e30}, u""},
      {min, List{u"a", int16_t{-1}}, int16_t{-1}},
      {max, List{u"B", u"a", u"A"}, u"a"},
      // Empty is 0 beside numbers and "" beside strings.
      {max, List{Value(), int16_t{-1}}, Value()},
      {min, List{Value(), int16_t{1}}, Value()},
      {min, List{u"a", Value()}, Value()},
      // Booleans are numbers; NaN never wins.
      {min, List{int16_t{0}, vx::Boolean{vx::kVxTrue}}, vx::Boolean{vx::kVxTrue}},
      {max, List{1.0, std::numeric_limits<double>::quiet_NaN(), 2.0}, 2.0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_TRUE(Same(cases[i].pick(cases[i].list, vx::Here::current()), cases[i].expected))
        << "case " << i;
  }
}

TEST(MaxOfList, ListsWithoutEntriesGiveEmptyAtAnyLowerBound) {
  EXPECT_TRUE(modBasis::MaxOfList(List(0, {})).IsEmpty());
  EXPECT_TRUE(modBasis::MinOfList(List(5, {})).IsEmpty());
  EXPECT_TRUE(modBasis::MinOfList(List(std::numeric_limits<int32_t>::min(), {})).IsEmpty());
  EXPECT_FALSE(modBasis::IsInList(Value(), List(1, {})));
}

TEST(MaxOfList, AnyLowerBoundVisitsEveryEntry) {
  const List list(-3, {Value(int32_t{4}), Value(int32_t{9}), Value(int32_t{1})});
  EXPECT_EQ(list.UpperBound(), -1);
  EXPECT_TRUE(Same(modBasis::MaxOfList(list), int32_t{9}));
  EXPECT_TRUE(Same(modBasis::MinOfList(list), int32_t{1}));
  EXPECT_EQ(ErrorNumberOf([&] { list.At(0); }), vx::kErrSubscript);
  EXPECT_EQ(ErrorNumberOf([&] {
              List(std::numeric_limits<int32_t>::max(), {Value(), Value()});
            }),
            vx::kErrSubscript);
}

TEST(ValueHelpers, AListNeverGivenBoundsIsSubscriptOutOfRange) {
  const List unbounded;
  const vx::ErrorInfo error = vx::testing::ErrorOf([&] { modBasis::MaxOfList(unbounded); });
  EXPECT_EQ(error.number, vx::kErrSubscript);
  EXPECT_EQ(error.source.rfind(u"modBasis.", 0), 0u) << "the handler adds its location";
  EXPECT_EQ(ErrorNumberOf([&] { modBasis::MinOfList(unbounded); }), vx::kErrSubscript);
  EXPECT_EQ(ErrorNumberOf([&] { modBasis::IsInList(Value(int16_t{1}), unbounded); }),
            vx::kErrSubscript);
}

TEST(IsInList, EmptyMatchesZeroAndTheEmptyStringButNaNMatchesNothing) {
  EXPECT_TRUE(modBasis::IsInList(Value(), List{int32_t{0}}));
  EXPECT_TRUE(modBasis::IsInList(Value(), List{u""}));
  EXPECT_TRUE(modBasis::IsInList(Value(), List{Value()}));
  EXPECT_FALSE(modBasis::IsInList(Value(), List{u" "}));
  EXPECT_TRUE(modBasis::IsInList(Value(int16_t{-1}), List{vx::Boolean{vx::kVxTrue}}));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(modBasis::IsInList(Value(nan), List{nan}));
}

TEST(ValueHelpers, ObjectsCannotBeCompared) {
  struct Plain : vx::ObjectImpl<vx::IObject> {};
  const vx::Ref<vx::IObject> object = vx::MakeObject<Plain>();
  EXPECT_EQ(ErrorNumberOf([&] {
              modBasis::MaxOfList(List{int16_t{1}, object});
            }),
            vx::kErrTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([&] { modBasis::IsInList(object, List{int16_t{1}}); }),
            vx::kErrTypeMismatch);
  // The first entry is compared with itself too.
  EXPECT_EQ(ErrorNumberOf([&] { modBasis::MinOfList(List{object}); }), vx::kErrTypeMismatch);
}

TEST(IsInList, StartScreenTestIsCaseSensitiveAndByValue) {
  const List screens{u"vxTM2Core.ctlStartscreen", u"vxTM2Core.ctlServerStartscreen"};
  EXPECT_TRUE(modBasis::IsInList(u"vxTM2Core.ctlStartscreen", screens));
  EXPECT_TRUE(modBasis::IsInList(u"vxTM2Core.ctlServerStartscreen", screens));
  EXPECT_FALSE(modBasis::IsInList(u"vxtm2core.ctlstartscreen", screens));
  EXPECT_FALSE(modBasis::IsInList(u"vxTM2Core.ctlStartscreen ", screens));
  EXPECT_TRUE(modBasis::IsInList(Value(int16_t{0}), List{u"0", 0.0f}));
  EXPECT_FALSE(modBasis::IsInList(Value(int16_t{0}), List{u"0"}));
}

TEST(MinLong, SmallerOfTwoAndTheSecondOnTies) {
  EXPECT_EQ(modBasis::MinLong(750, 974), 750);
  EXPECT_EQ(modBasis::MinLong(500, 450), 450);
  EXPECT_EQ(modBasis::MinLong(-7, -7), -7);
  EXPECT_EQ(modBasis::MinLong(std::numeric_limits<int32_t>::min(), 0),
            std::numeric_limits<int32_t>::min());
}

TEST(KeyedTable, AddItemRemoveWithThePlatformsErrors) {
  modBasis::KeyedTable<int32_t> table;
  table.Add(u"-42", 7);
  EXPECT_EQ(table.Item(u"-42"), 7);
  EXPECT_EQ(vx::testing::ErrorOf([&] { table.Add(u"-42", 8); }).source, u"vxTM2Main");
  EXPECT_EQ(ErrorNumberOf([&] { table.Add(u"-42", 8); }), vx::kErrDuplicateKey);
  EXPECT_EQ(table.Item(u"-42"), 7) << "a refused Add leaves the entry alone";
  EXPECT_EQ(ErrorNumberOf([&] { table.Item(u"42"); }), vx::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] { table.Remove(u"42"); }), vx::kErrInvalidCall);
  table.Remove(u"-42");
  EXPECT_EQ(table.Count(), 0u);
}

TEST(CollectionHasKey, FollowsAddAndRemove) {
  modBasis::KeyedTable<std::u16string> table;
  EXPECT_FALSE(modBasis::CollectionHasKey(table, u"1"));
  table.Add(u"1", u"one");
  EXPECT_TRUE(modBasis::CollectionHasKey(table, u"1"));
  EXPECT_FALSE(modBasis::CollectionHasKey(table, u"10"));
  EXPECT_FALSE(modBasis::CollectionHasKey(table, u""));
  table.Remove(u"1");
  EXPECT_FALSE(modBasis::CollectionHasKey(table, u"1"));
}

TEST(KeyedTable, HoldsCountedReferencesUntilRemoved) {
  struct Plain : vx::ObjectImpl<vx::IObject> {};
  const int32_t before = vx::gLiveObjects;
  modBasis::KeyedTable<vx::Ref<vx::IObject>> table;
  table.Add(u"5", vx::MakeObject<Plain>());
  EXPECT_EQ(vx::gLiveObjects, before + 1);
  table.Remove(u"5");
  EXPECT_EQ(vx::gLiveObjects, before);
}

}  // namespace
