// The host's portable helpers: list and table values, and the argument text of a command line.
#include "host/ProgramArguments.h"
#include "host/modBasis.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <tuple>
#include <type_traits>
#include <variant>

#include "contracts/ObjectImpl.h"
#include "host/KeyedTable.h"
#include "testing/ErrorNumberOf.h"

namespace {

using modBasis::List;
using vx::Value;

using vx::testing::ErrorNumberOf;

struct Plain : vx::ObjectImpl<vx::IObject> {};

// The value and its type, so that a 16-bit 0 and a single 0.0 are told apart (no objects here).
bool Same(const Value& actual, const Value& expected) {
  return std::visit(
      [&]<class T>(const T& a) {
        if constexpr (!std::is_same_v<T, vx::Ref<vx::IObject>>)
          return expected.Is<T>() && a == expected.As<T>();
        return false;
      },
      actual.storage());
}

TEST(MaxOfList, TheLargestOrSmallestEntryKeepsItsOwnTypeAndTiesKeepTheEarliest) {
  using Pick = Value (*)(const List&, vx::Here);
  const Pick max = &modBasis::MaxOfList, min = &modBasis::MinOfList;
  using Case = std::tuple<Pick, List, Value>;
  const Case cases[] = {
      Case{max, List{int16_t{0}, -120.0f}, int16_t{0}}, Case{max, List{1500.0f, 1200.0f}, 1500.0f},
      Case{max, List{int16_t{3}, 7.5, int32_t{7}}, 7.5}, Case{max, List{u"x"}, u"x"},
      Case{min, List{28800.0f, 1500.0f}, 1500.0f}, Case{min, List{int32_t{-5}, -4.5f}, int32_t{-5}},
      Case{min, List{int32_t{9}}, int32_t{9}}, Case{max, List{int16_t{0}, 0.0f}, int16_t{0}},
      Case{min, List{0.0f, int16_t{0}}, 0.0f},
      Case{max, List{int32_t{1}, int16_t{2}, 2.0}, int16_t{2}},
      // A number is below any string, even the empty one; strings compare by code unit.
      Case{max, List{u"", 1e30}, u""}, Case{min, List{u"", int16_t{-1}}, int16_t{-1}},
      Case{max, List{u"B", u"a", u"A"}, u"a"},
      // Empty is 0 beside numbers and "" beside strings.
      Case{max, List{Value(), int16_t{-1}}, Value()}, Case{min, List{Value(), int16_t{1}}, Value()},
      Case{min, List{u"a", Value()}, Value()},
      // Booleans are numbers; NaN never wins.
      Case{min, List{int16_t{0}, vx::Boolean{vx::kVxTrue}}, vx::Boolean{vx::kVxTrue}},
      Case{max, List{1.0, std::numeric_limits<double>::quiet_NaN(), 2.0}, 2.0},
      // Any lower bound visits every entry; no entries give Empty.
      Case{max, List(-3, {Value(int32_t{4}), Value(int32_t{9}), Value(int32_t{1})}), int32_t{9}},
      Case{min, List(-3, {Value(int32_t{4}), Value(int32_t{9}), Value(int32_t{1})}), int32_t{1}},
      Case{max, List(0, {}), Value()}, Case{min, List(INT32_MIN, {}), Value()}};
  for (const Case& c : cases) {
    const auto& [pick, list, expected] = c;
    EXPECT_TRUE(Same(pick(list, vx::Here::current()), expected)) << "case " << &c - cases;
  }
}

TEST(IsInList, ComparesByValueAndCaseWithEmptyAsZeroOrTheEmptyString) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const List screens{u"vxTM2Core.ctlStartscreen", u"vxTM2Core.ctlServerStartscreen"};
  using Row = std::tuple<Value, List, bool>;
  for (const auto& [value, list, found] :
       {Row{u"vxTM2Core.ctlStartscreen", screens, true},
        Row{u"vxTM2Core.ctlServerStartscreen", screens, true},
        Row{u"vxtm2core.ctlstartscreen", screens, false},
        Row{u"vxTM2Core.ctlStartscreen ", screens, false}, Row{int16_t{0}, List{u"0", 0.0f}, true},
        Row{int16_t{0}, List{u"0"}, false}, Row{Value(), List{int32_t{0}}, true},
        Row{Value(), List{u""}, true}, Row{Value(), List{Value()}, true},
        Row{Value(), List{u" "}, false}, Row{int16_t{-1}, List{vx::Boolean{vx::kVxTrue}}, true},
        Row{nan, List{nan}, false}, Row{Value(), List(1, {}), false}})
    EXPECT_EQ(modBasis::IsInList(value, list), found);
}

TEST(ValueHelpers, MinLongAndUnboundedOrOutOfBoundsListsAndObjectsAreErrors) {
  EXPECT_EQ(modBasis::MinLong(750, 974) + modBasis::MinLong(500, 450), 1200);
  const vx::Ref<vx::IObject> object = vx::MakeObject<Plain>();
  const List unbounded, mixed{int16_t{1}, object};
  const vx::ErrorInfo error = vx::testing::ErrorOf([&] { modBasis::MaxOfList(unbounded); });
  EXPECT_EQ(error.number, vx::kErrSubscript);
  EXPECT_EQ(error.source.rfind(u"modBasis.", 0), 0u) << "the handler adds its location";
  const std::pair<std::function<void()>, int32_t> cases[] = {
      {[&] { modBasis::MinOfList(unbounded); }, vx::kErrSubscript},
      {[] { List(INT32_MAX, std::vector<Value>(2)); }, vx::kErrSubscript},
      {[&] { modBasis::IsInList(Value(int16_t{1}), unbounded); }, vx::kErrSubscript},
      {[&] { modBasis::MaxOfList(mixed); }, vx::kErrTypeMismatch},
      {[&] { modBasis::IsInList(object, List{int16_t{1}}); }, vx::kErrTypeMismatch},
      // The first entry is compared with itself too.
      {[&] { modBasis::MinOfList(List{object}); }, vx::kErrTypeMismatch},
      {[] { modBasis::SingleOf(Value(u"1")); }, vx::kErrTypeMismatch},
      // The highest lower bound that one entry still fits: no error.
      {[] { List(INT32_MAX, std::vector<Value>(1)); }, 0}};
  for (const auto& c : cases) EXPECT_EQ(ErrorNumberOf(c.first), c.second) << "case " << &c - cases;
}

TEST(KeyedTable, AddItemRemoveAndHasKeyWithThePlatformsErrorsAndCountedReferences) {
  const int32_t before = vx::gLiveObjects;
  modBasis::KeyedTable<vx::Ref<vx::IObject>> table;
  const vx::Ref<vx::IObject> kept = vx::MakeObject<Plain>();
  EXPECT_FALSE(modBasis::CollectionHasKey(table, u"-42"));
  table.Add(u"-42", kept);
  table.Add(u"5", vx::MakeObject<Plain>());
  EXPECT_EQ(vx::gLiveObjects, before + 2);
  EXPECT_TRUE(modBasis::CollectionHasKey(table, u"-42"));
  EXPECT_FALSE(modBasis::CollectionHasKey(table, u"42"));
  EXPECT_EQ(vx::testing::ErrorOf([&] { table.Add(u"-42", nullptr); }),
            (vx::ErrorInfo{vx::kErrDuplicateKey, u"vxTM2Main",
                           u"This key is already associated with an element of this collection"}));
  EXPECT_EQ(table.Item(u"-42").get(), kept.get()) << "a refused Add leaves the entry alone";
  EXPECT_EQ(ErrorNumberOf([&] { table.Item(u"42"); }), vx::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] { table.Remove(u"42"); }), vx::kErrInvalidCall);
  table.Remove(u"5");
  EXPECT_EQ(vx::gLiveObjects, before + 1);
  table.Remove(u"-42");
  EXPECT_FALSE(modBasis::CollectionHasKey(table, u"-42"));
}

TEST(ArgumentTextOf, SkipsTheProgramPathQuotedOrNotAndTheSeparatorsAfterIt) {
  using Row = std::pair<std::u16string_view, std::u16string_view>;
  for (const auto& [line, arguments] :
       {Row{u"C:\\vx\\vxTM2Main.exe /debug -log", u"/debug -log"},
        Row{u"vxTM2Main.exe \t  \"a b\" ", u"\"a b\" "}, Row{u"vxTM2Main.exe   ", u""},
        Row{u"", u""},
        Row{u"\"C:\\Program Files\\Telvaro\\vxTM2Main.exe\" /autosync", u"/autosync"},
        // Whatever follows the closing quote directly is the first argument.
        Row{u"\"C:\\a b\\vxTM2Main.exe\"/debug x", u"/debug x"},
        // An unclosed quote takes the whole line as the path.
        Row{u"\"C:\\a b\\vxTM2Main.exe /debug", u""},
        // Quotes inside an unquoted path are ordinary characters.
        Row{u"C:\\a\"b\"c.exe one", u"one"}})
    EXPECT_EQ(vx::host::ArgumentTextOf(line), arguments);
}

}  // namespace
