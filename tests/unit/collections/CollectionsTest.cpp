// The collections: the hash table of counters and the fast character access.
#include "collections/CFastMid.h"
#include "collections/CHashLong.h"
#include "collections/FastModulus.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "contracts/Text.h"
#include "testing/ErrorNumberOf.h"

// Reaches the table's private routines.
class CHashLongTestPeer {
 public:
  static uint32_t PrimaryHash(std::u16string_view key) { return CHashLong::PrimaryHash(key); }
  static uint32_t SecondaryHash(std::u16string_view key) { return CHashLong::SecondaryHash(key); }
  static int32_t NextPrime(int32_t x) { return CHashLong::NextPrime(x); }
  static bool IsPrime(int32_t n) { return CHashLong::IsPrime(n); }
  static int32_t SlotOf(const CHashLong& table, std::u16string_view key) {
    return table.FindSlot(key).index;
  }
  static bool SlotHeld(const CHashLong& table, int32_t slot) {
    return (table.table_.states[static_cast<size_t>(slot)] & CHashLong::kHeld) != 0;
  }
  static bool SlotMarked(const CHashLong& table, int32_t slot) {
    return CHashLong::Kind(table.table_.states[static_cast<size_t>(slot)]) == CHashLong::kRemoved;
  }
};

namespace {

using Peer = CHashLongTestPeer;
using vx::testing::ErrorOf;

std::u16string K(int i) {
  return vx::FromUtf8("k" + std::to_string(i));
}

// The n-th generated key (skipping `skip` earlier matches) whose home slot in `capacity` is `home`.
std::u16string KeyWithHome(uint32_t capacity, uint32_t home, int skip = 0) {
  for (int i = 0;; ++i) {
    if ((Peer::PrimaryHash(K(i)) & 0x7FFFFFFF) % capacity == home && skip-- == 0) return K(i);
  }
}

// A table with the keys K(0)..K(keys-1) set to their index.
CHashLong Filled(int32_t minimumSize, int32_t initialSize, bool allowRemoval, int keys = 0) {
  CHashLong table;
  table.Init(minimumSize, initialSize, allowRemoval);
  for (int i = 0; i < keys; ++i) table.SetValue(K(i), i);
  return table;
}

TEST(CHashLongHashing, KnownValues) {
  EXPECT_EQ(Peer::PrimaryHash(u"abc"), 0x00310460u);
  EXPECT_EQ(Peer::SecondaryHash(u"abc"), 0x188318C2u);
  EXPECT_EQ(Peer::PrimaryHash(u"") | Peer::SecondaryHash(u""), 0u);
  // Code units are unsigned 16-bit: a high surrogate is not sign-extended.
  EXPECT_EQ(Peer::PrimaryHash(u"\xD800"), 0xD800u << 5);
  EXPECT_EQ(Peer::SecondaryHash(u"\xFFFF\xFFFF"), 0x07BFF840u);
  // Long keys fold every character in turn.
  EXPECT_EQ(Peer::PrimaryHash(u"The quick brown fox jumps over the lazy dog"), 0xF1CCCB1Fu);
}

TEST(FastModulus, AgreesWithTheRemainderOverTheWholeRange) {
  std::mt19937 random(3);
  for (uint32_t divisor : {2u, 3u, 11u, 65521u, 2147483647u, 4294967291u}) {
    const FastModulus modulus(divisor);
    for (uint32_t value : {0u, 1u, divisor - 1, divisor, divisor + 1, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
      EXPECT_EQ(modulus.Of(value), value % divisor) << value << " mod " << divisor;
    }
    for (int i = 0; i < 2000; ++i) {
      const uint32_t value = random();
      ASSERT_EQ(modulus.Of(value), value % divisor) << value << " mod " << divisor;
    }
  }
}

TEST(CHashLongPrimes, IsPrimeAndNextPrime) {
  std::vector<int32_t> found;
  for (int32_t n = -5; n < 60; ++n) {
    if (Peer::IsPrime(n)) found.push_back(n);
  }
  EXPECT_EQ(found,
            (std::vector<int32_t>{2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53, 59}));
  // Squares of the trial divisors, at the edge of the square-root limit.
  for (int32_t square : {121, 169, 289, 46337 * 46337}) EXPECT_FALSE(Peer::IsPrime(square));
  EXPECT_TRUE(Peer::IsPrime(2147483647));
  const std::pair<int32_t, int32_t> next[] = {{INT32_MIN, 2}, {1, 2},     {2, 3},
                                              {19, 23},       {100, 101}, {2147483646, 2147483647}};
  for (const auto& [from, prime] : next) EXPECT_EQ(Peer::NextPrime(from), prime) << from;
  EXPECT_EQ(ErrorOf([] { Peer::NextPrime(2147483647); }).number, vx::kErrOverflow);
}

TEST(CHashLongSizing, InitChoosesPrimeCapacitiesAndThresholdsFromTheLevels) {
  struct Case {
    int32_t minimumSize, initialSize, minCapacity, capacity, shrink, grow;
    float level = 0.0f;  // all three levels; 0 keeps the defaults
  };
  for (const Case c :
       {Case{1, 1, 2, 2, 0, 2}, Case{0, 0, 2, 2, 0, 2}, Case{-7, 3, 2, 3, 1, 2},
        Case{10, 100, 11, 101, 20, 81}, Case{100, 10, 101, 101, 20, 81}, Case{11, 11, 11, 11, 2, 9},
        Case{12, 0, 13, 13, 3, 10}, Case{5, 5, 5, 5, 1, 4}, Case{23, 23, 23, 23, 5, 18},
        // Halves round to even: 5.5 up, 6.5 down.
        Case{11, 11, 11, 11, 6, 6, 0.5f}, Case{13, 13, 13, 13, 6, 6, 0.5f}}) {
    CHashLong table;
    if (c.level != 0.0f) table.SetAutosizeLevels(c.level, c.level, c.level);
    table.Init(c.minimumSize, c.initialSize, false);
    EXPECT_EQ(std::vector({table.MinCapacity(), table.Capacity(), table.ShrinkThreshold(),
                           table.GrowThreshold(), table.Count()}),
              std::vector({c.minCapacity, c.capacity, c.shrink, c.grow, 0}))
        << c.minimumSize << "," << c.initialSize;
  }
}

TEST(CHashLongSizing, GrowsFrom11To23AndShrinksBackButNotBelowTheMinimum) {
  CHashLong table = Filled(1, 11, true, 10);
  EXPECT_EQ(table.Capacity(), 11);  // the 10th insertion found 9 keys present
  table.SetValue(K(0), 100);        // present key: the grow check still runs first
  EXPECT_EQ(std::vector({table.Capacity(), table.ShrinkThreshold(), table.GrowThreshold()}),
            std::vector({23, 5, 18}));
  for (int i = 9; i >= 5; --i) table.RemoveKey(K(i));
  EXPECT_EQ(table.Capacity(), 23);  // 5 keys left
  table.RemoveKey(K(4));
  EXPECT_EQ(std::pair(table.Capacity(), table.RemovalMarks()), std::pair(11, 0));

  CHashLong floor = Filled(23, 23, true, 6);
  for (int i = 0; i < 6; ++i) floor.RemoveKey(K(i));
  EXPECT_EQ(floor.Capacity(), 23);
}

TEST(CHashLongProbing, AbcInCapacity11StartsAtSlot10AndStepsBy3) {
  CHashLong table = Filled(11, 11, false);
  EXPECT_EQ(Peer::SlotOf(table, u"abc"), 10);
  const std::vector<int32_t> order = {10, 2, 5, 8, 0};
  for (size_t i = 0; i + 1 < order.size(); ++i) {
    table.SetValue(KeyWithHome(11, order[i]), 0);
    ASSERT_TRUE(Peer::SlotHeld(table, order[i]));
    EXPECT_EQ(Peer::SlotOf(table, u"abc"), order[i + 1]);
  }
  table.SetValue(u"abc", 7);
  EXPECT_EQ(Peer::SlotOf(table, u"abc"), 0);
}

TEST(CHashLongProbing, KeysBehindARemovalMarkStayWhereTheyAreAndNewKeysTakeTheMark) {
  CHashLong table = Filled(11, 11, true);
  const std::u16string first = KeyWithHome(11, 4, 0), second = KeyWithHome(11, 4, 1);
  table.SetValue(first, 1);
  table.SetValue(second, 2);
  const int32_t secondSlot = Peer::SlotOf(table, second);
  table.RemoveKey(first);
  ASSERT_TRUE(Peer::SlotMarked(table, 4));
  table.SetValue(second, 20);
  table.IncrementKey(second, false);
  EXPECT_EQ(Peer::SlotOf(table, second), secondSlot);
  // An absent key with the same home lands in the marked slot.
  table.IncrementKey(KeyWithHome(11, 4, 2), true);
  EXPECT_TRUE(Peer::SlotHeld(table, 4));
  EXPECT_EQ(table.RemovalMarks(), 0);
  // Removing an absent key marks its slot and keeps the count.
  const int32_t absentSlot = Peer::SlotOf(table, u"absent");
  table.RemoveKey(u"absent");
  EXPECT_TRUE(Peer::SlotMarked(table, absentSlot));
}

TEST(CHashLongProbing, MarksThatTakeTheLastVacancyAreClearedAtTheSameSize) {
  CHashLong table = Filled(11, 11, true, 9);
  // Removing an absent key marks a vacant slot: the first such removal leaves one vacancy, and
  // the one that marks it sets off the rebuild.
  for (int i = 0; i < 100 && (i == 0 || table.RemovalMarks() != 0); ++i)
    table.RemoveKey(K(100 + i));
  EXPECT_EQ(std::vector({table.RemovalMarks(), table.Capacity(), table.ShrinkThreshold(),
                         table.GrowThreshold(), table.Count()}),
            std::vector({0, 11, 2, 9, 9}));
  // Rebuilt with its own modulus: a key whose home is vacant would go there.
  for (int32_t slot = 0; slot < 11; ++slot) {
    if (Peer::SlotHeld(table, slot)) continue;
    EXPECT_EQ(Peer::SlotOf(table, KeyWithHome(11, slot)), slot);
  }
}

TEST(CHashLongKeys, GetKeysListsThePresentKeysInSlotOrder) {
  CHashLong table = Filled(101, 101, true, 40);
  for (int i = 0; i < 40; i += 3) table.RemoveKey(K(i));
  const std::vector<std::u16string> keys = table.GetKeys();
  EXPECT_EQ(keys.size(), 26u);
  for (size_t i = 1; i < keys.size(); ++i) {
    EXPECT_LT(Peer::SlotOf(table, keys[i - 1]), Peer::SlotOf(table, keys[i]));
  }
}

TEST(CHashLongErrors, MissingKeysAndOverflowsRaiseTheirOwnTexts) {
  CHashLong table = Filled(5, 5, false);
  table.SetValue(u"max", INT32_MAX);
  table.SetValue(u"min", INT32_MIN);
  const std::pair<std::function<void()>, vx::ErrorInfo> cases[] = {
      {[&] { table.IncrementKey(u"Foo", false); }, {1, {}, u"Cannot increment missing key Foo"}},
      {[&] { table.DecrementKey(u"Foo"); }, {1, {}, u"Cannot decrement missing key Foo"}},
      {[&] { table.GetValue(u""); }, {1, {}, u"hash-key not found: "}},
      {[&] { table.RemoveKey(u"Foo"); }, {1, {}, u"Application-defined or object-defined error"}},
      {[&] { table.IncrementKey(u"max", true); }, {6, {}, u"Overflow"}},
      {[&] { table.DecrementKey(u"min"); }, {6, {}, u"Overflow"}}};
  for (const auto& [call, expected] : cases) {
    vx::ErrorInfo error = ErrorOf(call);
    error.source.clear();
    EXPECT_EQ(error, expected);
  }
}

TEST(CHashLongErrors, SourcesNestTheTablesRoutinesAndNameTheCallersLine) {
  CHashLong table;
  uint32_t line = 0;
  const uint32_t callLine = __LINE__ + 1;
  const std::u16string nested = ErrorOf([&] { table.GetValue(u"k"); }, &line).source;
  EXPECT_EQ(line, callLine);
  EXPECT_NE(nested.find(u" (CHashLong."), std::u16string::npos) << vx::ToUtf8(nested);
  EXPECT_EQ(nested.substr(0, 10), u"CHashLong.");
  EXPECT_EQ(nested.substr(nested.size() - 13), u" (vxTM2Main))");
  table.Init(5, 5, false);
  const std::u16string single = ErrorOf([&] { table.GetValue(u"k"); }).source;
  EXPECT_EQ(single.substr(0, 10), u"CHashLong.");
  EXPECT_EQ(single.find(u" (CHashLong."), std::u16string::npos) << vx::ToUtf8(single);
  EXPECT_EQ(single.substr(single.size() - 12), u" (vxTM2Main)");
}

TEST(CHashLongErrors, FailedSizingKeepsEveryKey) {
  CHashLong table = Filled(5, 5, true, 5);
  // A grow level whose threshold overflows: Init fails and changes nothing.
  table.SetAutosizeLevels(0.2f, 0.5f, 1e10f);
  EXPECT_EQ(ErrorOf([&] { table.Init(50, 50, false); }).number, vx::kErrOverflow);
  EXPECT_EQ(std::pair(table.Capacity(), table.RemovalEnabled()), std::pair(5, true));
  // A target level of 0 fails the resize; the keys stay.
  table.SetAutosizeLevels(0.2f, 0.0f, 0.8f);
  EXPECT_EQ(ErrorOf([&] { table.SetValue(u"k9", 9); }).number, vx::kErrDivisionByZero);
  EXPECT_EQ(std::pair(table.GetKeys().size(), table.GetValue(K(4))), std::pair(size_t{5}, 4));
  // A full table whose next capacity cannot take the grow level: the growth fails whole.
  CHashLong full;
  full.SetAutosizeLevels(0.2f, 0.5f, 9e8f);
  full.Init(2, 2, false);
  for (int i = 0; i < 2; ++i) full.SetValue(K(i), i);
  EXPECT_EQ(ErrorOf([&] { full.SetValue(u"c", 3); }).number, vx::kErrOverflow);
  EXPECT_EQ(std::pair(full.Capacity(), full.GetValue(K(1))), std::pair(2, 1));
  // With the default levels a full table of two grows to take a third key.
  CHashLong two = Filled(2, 2, false, 2);
  EXPECT_FALSE(two.HasKey(u"c"));  // a full table: the search is bounded
  two.SetValue(u"c", 3);
  EXPECT_EQ(two.Capacity(), 3);
}

// CFastMid has no handler of its own: its errors name the program and nothing else.
bool RefusesPosition(auto&& call) {
  return ErrorOf(call) == vx::ErrorInfo{vx::kErrSubscript, u"vxTM2Main", u"Subscript out of range"};
}

TEST(CFastMid, ReadsAndWritesSigned16BitUnitsAtPositionsOneToLengthAndRefusesTheRest) {
  std::u16string s = u"\x8000\x7FFF\xFFFF";
  CFastMid fm;
  auto mid = fm.GetMidString(s);
  EXPECT_EQ(mid->View(), u" ");
  EXPECT_EQ(std::vector({fm.GetAscW(1), fm.GetAscW(2), fm.GetAscW(3)}),
            std::vector<int16_t>({-32768, 32767, -1}));
  for (int32_t p : {0, 4, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_TRUE(RefusesPosition([&] { fm.GetAscW(p); })) << p;
    EXPECT_TRUE(RefusesPosition([&] { fm.PutAscW(p, 1); })) << p;
    EXPECT_TRUE(RefusesPosition([&] { fm.SetMidPosition(p); })) << p;
  }
  EXPECT_EQ(s, u"\x8000\x7FFF\xFFFF");
  EXPECT_EQ(mid->View(), u" ") << "a refused SetMidPosition changes nothing";
  fm.SetMidPosition(3);
  EXPECT_EQ(mid->View(), u"\xFFFF");
  fm.PutAscW(1, 65);
  fm.PutAscW(2, -1);
  fm.PutAscW(3, -32768);
  EXPECT_EQ(s, u"A\xFFFF\x8000");
}

TEST(CFastMid, EmptyUnattachedAndDroppedMidStringsHaveNoPositionToSetTheMidStringTo) {
  std::u16string empty;
  CFastMid fm;
  auto mid = fm.GetMidString(empty);
  for (int32_t p : {0, 1}) {
    EXPECT_TRUE(RefusesPosition([&] { fm.GetAscW(p); })) << p;
    EXPECT_TRUE(RefusesPosition([&] { fm.SetMidPosition(p); })) << p;
  }
  // Before attaching, only the placeholder position 0 exists.
  CFastMid fresh;
  EXPECT_EQ(fresh.GetAscW(0), 0);
  fresh.PutAscW(0, 7);
  EXPECT_EQ(fresh.GetAscW(0), 7);
  EXPECT_TRUE(RefusesPosition([&] { fresh.GetAscW(1); }));
  EXPECT_TRUE(RefusesPosition([&] { fresh.SetMidPosition(0); }));
  // Only the latest live mid string is written; a dropped one leaves reading on and setting the
  // position refused until a new one.
  std::u16string first = u"xy", second = u"pq";
  auto oldMid = fm.GetMidString(first);
  fm.SetMidPosition(2);
  auto newMid = fm.GetMidString(second);
  fm.SetMidPosition(1);
  EXPECT_EQ(oldMid->View(), u"y");
  EXPECT_EQ(newMid->View(), u"p");
  fm.GetMidString(second).reset();
  EXPECT_EQ(fm.GetAscW(2), u'q');
  EXPECT_TRUE(RefusesPosition([&] { fm.SetMidPosition(2); }));
  auto again = fm.GetMidString(second);
  fm.SetMidPosition(2);
  EXPECT_EQ(again->View(), u"q");
}

}  // namespace
