#include "host/modBasis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "contracts/ObjectImpl.h"
#include "host/KeyedTable.h"

namespace {

using modBasis::List;
using vx::Value;

// The number of the error call raised, 0 for none; source receives its source.
int32_t ErrorOf(const std::function<void()>& call, std::u16string* source = nullptr) {
  try {
    call();
  } catch (const vx::Error& e) {
    if (source) *source = e.source();
    return e.number();
  }
  return 0;
}

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

TEST(MaxOfList, LargestEntryKeepsItsOwnType) {
  EXPECT_TRUE(Same(modBasis::MaxOfList(List{int16_t{0}, -120.0f}), int16_t{0}));
  EXPECT_TRUE(Same(modBasis::MaxOfList(List{1500.0f, 1200.0f}), 1500.0f));
  EXPECT_TRUE(Same(modBasis::MaxOfList(List{int16_t{3}, 7.5, int32_t{7}}), 7.5));
  EXPECT_TRUE(Same(modBasis::MaxOfList(List{u"x"}), u"x"));
}

TEST(MinOfList, SmallestEntryKeepsItsOwnType) {
  EXPECT_TRUE(Same(modBasis::MinOfList(List{28800.0f, 1500.0f}), 1500.0f));
  EXPECT_TRUE(Same(modBasis::MinOfList(List{int32_t{-5}, -4.5f}), int32_t{-5}));
  EXPECT_TRUE(Same(modBasis::MinOfList(List{int32_t{9}}), int32_t{9}));
}

TEST(MaxOfList, TiesKeepTheEarliestEntry) {
  EXPECT_TRUE(Same(modBasis::MaxOfList(List{int16_t{0}, 0.0f}), int16_t{0}));
  EXPECT_TRUE(Same(modBasis::MinOfList(List{0.0f, int16_t{0}}), 0.0f));
  EXPECT_TRUE(Same(modBasis::MaxOfList(List{int32_t{1}, int16_t{2}, 2.0}), int16_t{2}));
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
  EXPECT_EQ(ErrorOf([&] { list.At(0); }), vx::kErrSubscript);
  EXPECT_EQ(ErrorOf([&] {
              List(std::numeric_limits<int32_t>::max(), {Value(), Value()});
            }),
            vx::kErrSubscript);
}

TEST(ValueHelpers, AListNeverGivenBoundsIsSubscriptOutOfRange) {
  const List unbounded;
  std::u16string source;
  EXPECT_EQ(ErrorOf([&] { modBasis::MaxOfList(unbounded); }, &source), vx::kErrSubscript);
  EXPECT_EQ(source.rfind(u"modBasis.", 0), 0u) << "the handler adds its location";
  EXPECT_EQ(ErrorOf([&] { modBasis::MinOfList(unbounded); }), vx::kErrSubscript);
  EXPECT_EQ(ErrorOf([&] { modBasis::IsInList(Value(int16_t{1}), unbounded); }), vx::kErrSubscript);
}

TEST(ValueHelpers, NumbersSitBelowStringsAndEmptyTakesTheOthersKind) {
  // A number is below any string, even the empty one.
  EXPECT_TRUE(Same(modBasis::MaxOfList(List{u"", 1e30}), u""));
  EXPECT_TRUE(Same(modBasis::MinOfList(List{u"a", int16_t{-1}}), int16_t{-1}));
  // Empty is 0 beside numbers and "" beside strings.
  EXPECT_TRUE(Same(modBasis::MaxOfList(List{Value(), int16_t{-1}}), Value()));
  EXPECT_TRUE(Same(modBasis::MinOfList(List{Value(), int16_t{1}}), Value()));
  EXPECT_TRUE(Same(modBasis::MinOfList(List{u"a", Value()}), Value()));
  EXPECT_TRUE(modBasis::IsInList(Value(), List{int32_t{0}}));
  EXPECT_TRUE(modBasis::IsInList(Value(), List{u""}));
  EXPECT_TRUE(modBasis::IsInList(Value(), List{Value()}));
  EXPECT_FALSE(modBasis::IsInList(Value(), List{u" "}));
  // Strings compare by code unit: upper case first, case-sensitive.
  EXPECT_TRUE(Same(modBasis::MaxOfList(List{u"B", u"a", u"A"}), u"a"));
}

TEST(ValueHelpers, BooleansAreNumbersAndNaNNeverWins) {
  EXPECT_TRUE(modBasis::IsInList(Value(int16_t{-1}), List{vx::Boolean{vx::kVxTrue}}));
  EXPECT_TRUE(Same(modBasis::MinOfList(List{int16_t{0}, vx::Boolean{vx::kVxTrue}}),
                   vx::Boolean{vx::kVxTrue}));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(Same(modBasis::MaxOfList(List{1.0, nan, 2.0}), 2.0));
  EXPECT_FALSE(modBasis::IsInList(Value(nan), List{nan}));
}

TEST(ValueHelpers, ObjectsCannotBeCompared) {
  struct Plain : vx::ObjectImpl<vx::IObject> {};
  const vx::Ref<vx::IObject> object = vx::MakeObject<Plain>();
  EXPECT_EQ(ErrorOf([&] { modBasis::MaxOfList(List{int16_t{1}, object}); }), vx::kErrTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { modBasis::IsInList(object, List{int16_t{1}}); }), vx::kErrTypeMismatch);
  // The first entry is compared with itself too.
  EXPECT_EQ(ErrorOf([&] { modBasis::MinOfList(List{object}); }), vx::kErrTypeMismatch);
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
  std::u16string source;
  EXPECT_EQ(ErrorOf([&] { table.Add(u"-42", 8); }, &source), vx::kErrDuplicateKey);
  EXPECT_EQ(source, u"vxTM2Main");
  EXPECT_EQ(table.Item(u"-42"), 7) << "a refused Add leaves the entry alone";
  EXPECT_EQ(ErrorOf([&] { table.Item(u"42"); }), vx::kErrInvalidCall);
  EXPECT_EQ(ErrorOf([&] { table.Remove(u"42"); }), vx::kErrInvalidCall);
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
