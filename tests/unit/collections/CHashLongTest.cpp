#include "collections/CHashLong.h"
#include "collections/FastModulus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "contracts/Text.h"

// Reaches the table's private routines.
class CHashLongTestPeer {
 public:
  static uint32_t PrimaryHash(std::u16string_view key) { return CHashLong::PrimaryHash(key); }
  static uint32_t SecondaryHash(std::u16string_view key) { return CHashLong::SecondaryHash(key); }
  static uint32_t RotateLeft(uint32_t v, int32_t n) { return CHashLong::RotateLeft(v, n); }
  static uint32_t ShiftLeft(uint32_t v, int32_t n) { return CHashLong::ShiftLeft(v, n); }
  static uint32_t ShiftRight(uint32_t v, int32_t n) { return CHashLong::ShiftRight(v, n); }
  static bool KeysEqual(std::u16string_view a, std::u16string_view b) {
    return CHashLong::KeysEqual(a, b);
  }
  static int32_t NextPrime(int32_t x) { return CHashLong::NextPrime(x); }
  static bool IsPrime(int32_t n) { return CHashLong::IsPrime(n); }
  static int32_t MaxLong(int32_t a, int32_t b) { return CHashLong::MaxLong(a, b); }
  static int32_t SlotOf(const CHashLong& table, std::u16string_view key) {
    return table.FindSlot(key).index;
  }
  static bool SlotHeld(const CHashLong& table, int32_t slot) {
    return (table.table_.states[static_cast<size_t>(slot)] & CHashLong::kHeld) != 0;
  }
  static bool SlotMarked(const CHashLong& table, int32_t slot) {
    return table.table_.states[static_cast<size_t>(slot)] == CHashLong::kRemoved;
  }
};

namespace {

using Peer = CHashLongTestPeer;

std::u16string U(const std::string& s) {
  return vx::FromUtf8(s);
}

int32_t HomeSlot(std::u16string_view key, int32_t capacity) {
  return static_cast<int32_t>((Peer::PrimaryHash(key) & 0x7FFFFFFF) %
                              static_cast<uint32_t>(capacity));
}

// The n-th generated key (skipping `skip` earlier matches) whose home slot in `capacity` is `home`.
std::u16string KeyWithHome(int32_t capacity, int32_t home, int skip = 0) {
  for (int i = 0;; ++i) {
    std::u16string key = U("key" + std::to_string(i));
    if (HomeSlot(key, capacity) == home && skip-- == 0) return key;
  }
}

vx::ErrorInfo ErrorOf(auto&& body) {
  try {
    body();
  } catch (const vx::Error& e) {
    return e.info();
  }
  return {};
}

TEST(CHashLongHashing, KnownValuesOfAbc) {
  EXPECT_EQ(Peer::PrimaryHash(u"abc"), 0x00310460u);
  EXPECT_EQ(Peer::SecondaryHash(u"abc"), 0x188318C2u);
  EXPECT_EQ(Peer::PrimaryHash(u""), 0u);
  EXPECT_EQ(Peer::SecondaryHash(u""), 0u);
  // Code units are unsigned 16-bit: a high surrogate is not sign-extended.
  EXPECT_EQ(Peer::PrimaryHash(u"\xD800"), 0xD800u << 5);
  EXPECT_EQ(Peer::SecondaryHash(u"\xFFFF\xFFFF"), Peer::RotateLeft((0xFFFFu << 11) + 0xFFFF, 11));
}

TEST(CHashLongHashing, PrimaryHashOfLongKeysFoldsEveryCharacterInTurn) {
  std::mt19937 random(11);
  for (size_t length = 0; length < 40; ++length) {
    std::u16string key;
    for (size_t i = 0; i < length; ++i) key += static_cast<char16_t>(random());
    uint32_t expected = 0;
    for (const char16_t c : key) expected = std::rotl(expected ^ c, 5);
    EXPECT_EQ(Peer::PrimaryHash(key), expected) << length;
  }
}

TEST(CHashLongHashing, RotationsAndShiftsOfOddCounts) {
  EXPECT_EQ(Peer::RotateLeft(0x80000001u, 1), 0x00000003u);
  EXPECT_EQ(Peer::RotateLeft(0x12345678u, 0), 0x12345678u);
  EXPECT_EQ(Peer::RotateLeft(0x12345678u, 32), 0x12345678u);
  EXPECT_EQ(Peer::RotateLeft(0x12345678u, 36), Peer::RotateLeft(0x12345678u, 4));
  EXPECT_EQ(Peer::RotateLeft(0x12345678u, 64), 0x12345678u);
  EXPECT_EQ(Peer::RotateLeft(0x12345678u, -1), 0u);
  EXPECT_EQ(Peer::RotateLeft(0x12345678u, INT32_MIN), 0u);
  EXPECT_EQ(Peer::ShiftLeft(0xFFFFFFFFu, 31), 0x80000000u);
  EXPECT_EQ(Peer::ShiftRight(0x80000000u, 31), 1u);  // logical: the sign bit is not copied
  EXPECT_EQ(Peer::ShiftLeft(1u, 32), 0u);
  EXPECT_EQ(Peer::ShiftRight(1u, -1), 0u);
  EXPECT_EQ(Peer::ShiftRight(0xFFFFFFFFu, 0), 0xFFFFFFFFu);
}

TEST(CHashLongHashing, KeysCompareExactly) {
  EXPECT_TRUE(Peer::KeysEqual(u"", u""));
  EXPECT_TRUE(Peer::KeysEqual(u"abc", u"abc"));
  EXPECT_FALSE(Peer::KeysEqual(u"A", u"a"));
  EXPECT_FALSE(Peer::KeysEqual(u"", u"a"));
  EXPECT_FALSE(Peer::KeysEqual(u"ab", u"abc"));
  EXPECT_FALSE(Peer::KeysEqual(std::u16string_view(u"a\0b", 3), std::u16string_view(u"a\0c", 3)));
}

TEST(FastModulus, AgreesWithTheRemainderOverTheWholeRange) {
  std::mt19937 random(3);
  for (uint32_t divisor : {2u, 3u, 11u, 23u, 101u, 65521u, 1000003u, 2147483647u, 4294967291u}) {
    const FastModulus modulus(divisor);
    for (uint32_t value : {0u, 1u, divisor - 1, divisor, divisor + 1, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
      EXPECT_EQ(modulus.Of(value), value % divisor) << value << " mod " << divisor;
    }
    for (int i = 0; i < 10000; ++i) {
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
  // Squares and products of the trial divisors at the edge of the square-root limit.
  EXPECT_FALSE(Peer::IsPrime(25));
  EXPECT_FALSE(Peer::IsPrime(49));
  EXPECT_FALSE(Peer::IsPrime(121));
  EXPECT_FALSE(Peer::IsPrime(169));
  EXPECT_FALSE(Peer::IsPrime(289));
  EXPECT_FALSE(Peer::IsPrime(46337 * 46337));
  EXPECT_TRUE(Peer::IsPrime(2147483647));
  EXPECT_EQ(Peer::NextPrime(INT32_MIN), 2);
  EXPECT_EQ(Peer::NextPrime(1), 2);
  EXPECT_EQ(Peer::NextPrime(2), 3);
  EXPECT_EQ(Peer::NextPrime(19), 23);
  EXPECT_EQ(Peer::NextPrime(100), 101);
  EXPECT_EQ(Peer::NextPrime(2147483646), 2147483647);
  const vx::ErrorInfo overflow = ErrorOf([] { Peer::NextPrime(2147483647); });
  EXPECT_EQ(overflow.number, vx::kErrOverflow);
  EXPECT_EQ(Peer::MaxLong(3, 7), 7);
  EXPECT_EQ(Peer::MaxLong(-1, -9), -1);
}

TEST(CHashLongSizing, InitChoosesPrimeCapacities) {
  struct Case {
    int32_t minimumSize, initialSize, minCapacity, capacity;
  };
  for (const Case c :
       {Case{1, 1, 2, 2}, Case{0, 0, 2, 2}, Case{-7, 3, 2, 3}, Case{10, 100, 11, 101},
        Case{100, 10, 101, 101}, Case{11, 11, 11, 11}, Case{12, 0, 13, 13}}) {
    CHashLong table;
    table.Init(c.minimumSize, c.initialSize, false);
    EXPECT_EQ(table.MinCapacity(), c.minCapacity) << c.minimumSize << "," << c.initialSize;
    EXPECT_EQ(table.Capacity(), c.capacity) << c.minimumSize << "," << c.initialSize;
    EXPECT_EQ(table.Count(), 0);
  }
}

TEST(CHashLongSizing, ThresholdsWithDefaultLevels) {
  struct Case {
    int32_t size, shrink, grow;
  };
  for (const Case c :
       {Case{101, 20, 81}, Case{5, 1, 4}, Case{2, 0, 2}, Case{11, 2, 9}, Case{23, 5, 18}}) {
    CHashLong table;
    table.Init(c.size, c.size, false);
    EXPECT_EQ(table.ShrinkThreshold(), c.shrink) << c.size;
    EXPECT_EQ(table.GrowThreshold(), c.grow) << c.size;
  }
}

TEST(CHashLongSizing, LevelsTakeEffectAtTheNextAllocation) {
  CHashLong table;
  table.Init(11, 11, false);
  table.SetAutosizeLevels(0.5f, 0.5f, 0.5f);
  EXPECT_EQ(table.GrowThreshold(), 9);
  table.Init(11, 11, false);
  EXPECT_EQ(table.ShrinkThreshold(), 6);  // 5.5 rounds to even
  EXPECT_EQ(table.GrowThreshold(), 6);
}

TEST(CHashLongSizing, GrowsFrom11To23AndShrinksBack) {
  CHashLong table;
  table.Init(1, 11, true);
  for (int i = 0; i < 10; ++i) table.SetValue(U("k" + std::to_string(i)), i);
  EXPECT_EQ(table.Capacity(), 11);  // the 10th insertion found 9 keys present
  table.SetValue(u"k0", 100);       // present key: the grow check still runs first
  EXPECT_EQ(table.Capacity(), 23);
  EXPECT_EQ(table.Count(), 10);
  EXPECT_EQ(table.ShrinkThreshold(), 5);
  EXPECT_EQ(table.GrowThreshold(), 18);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(table.GetValue(U("k" + std::to_string(i))), i ? i : 100);
  for (int i = 9; i >= 5; --i) table.RemoveKey(U("k" + std::to_string(i)));
  EXPECT_EQ(table.Capacity(), 23);  // 5 keys left
  table.RemoveKey(u"k4");
  EXPECT_EQ(table.Capacity(), 11);
  EXPECT_EQ(table.RemovalMarks(), 0);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(table.HasKey(U("k" + std::to_string(i))));
}

TEST(CHashLongSizing, ShrinkStopsAtMinCapacity) {
  CHashLong table;
  table.Init(23, 23, true);
  for (int i = 0; i < 6; ++i) table.SetValue(U("k" + std::to_string(i)), i);
  for (int i = 0; i < 6; ++i) table.RemoveKey(U("k" + std::to_string(i)));
  EXPECT_EQ(table.Capacity(), 23);
  EXPECT_EQ(table.Count(), 0);
}

TEST(CHashLongProbing, AbcInCapacity11StartsAtSlot10AndStepsBy3) {
  CHashLong table;
  table.Init(11, 11, false);
  EXPECT_EQ(Peer::SlotOf(table, u"abc"), 10);
  const std::vector<int32_t> order = {10, 2, 5, 8, 0};
  for (size_t i = 0; i + 1 < order.size(); ++i) {
    table.SetValue(KeyWithHome(11, order[i]), 0);
    ASSERT_TRUE(Peer::SlotHeld(table, order[i]));
    EXPECT_EQ(Peer::SlotOf(table, u"abc"), order[i + 1]);
  }
  table.SetValue(u"abc", 7);
  EXPECT_EQ(Peer::SlotOf(table, u"abc"), 0);
  EXPECT_EQ(table.GetValue(u"abc"), 7);
}

TEST(CHashLongProbing, KeysBehindARemovalMarkAreFoundAndUpdatedInPlace) {
  CHashLong table;
  table.Init(11, 11, true);
  const std::u16string first = KeyWithHome(11, 4, 0);
  const std::u16string second = KeyWithHome(11, 4, 1);
  const std::u16string third = KeyWithHome(11, 4, 2);
  table.SetValue(first, 1);
  table.SetValue(second, 2);
  const int32_t secondSlot = Peer::SlotOf(table, second);
  ASSERT_NE(secondSlot, 4);
  table.RemoveKey(first);
  ASSERT_TRUE(Peer::SlotMarked(table, 4));
  EXPECT_TRUE(table.HasKey(second));
  table.SetValue(second, 20);
  EXPECT_EQ(table.Count(), 1);
  EXPECT_EQ(Peer::SlotOf(table, second), secondSlot);
  EXPECT_EQ(table.GetValue(second), 20);
  table.IncrementKey(second, false);
  EXPECT_EQ(table.GetValue(second), 21);
  // An absent key with the same home lands in the marked slot, and starts at 1 there.
  EXPECT_EQ(Peer::SlotOf(table, third), 4);
  table.IncrementKey(third, true);
  EXPECT_FALSE(Peer::SlotMarked(table, 4));
  EXPECT_EQ(table.GetValue(third), 1);
  EXPECT_EQ(table.RemovalMarks(), 0);
  EXPECT_EQ(table.Count(), 2);
}

TEST(CHashLongProbing, RemovingAnAbsentKeyMarksItsSlotAndKeepsTheCount) {
  CHashLong table;
  table.Init(11, 11, true);
  table.SetValue(u"x", 1);
  const int32_t slot = Peer::SlotOf(table, u"absent");
  table.RemoveKey(u"absent");
  EXPECT_EQ(table.Count(), 1);
  EXPECT_TRUE(Peer::SlotMarked(table, slot));
  EXPECT_TRUE(table.HasKey(u"x"));
}

TEST(CHashLongValues, SetIncrementDecrement) {
  CHashLong table;
  table.Init(5, 5, false);
  table.SetValue(u"a", 5);
  const int32_t slot = Peer::SlotOf(table, u"a");
  table.SetValue(u"a", -3);
  EXPECT_EQ(table.Count(), 1);
  EXPECT_EQ(Peer::SlotOf(table, u"a"), slot);
  EXPECT_EQ(table.GetValue(u"a"), -3);
  table.IncrementKey(u"n", true);
  EXPECT_EQ(table.GetValue(u"n"), 1);
  table.DecrementKey(u"n");
  table.DecrementKey(u"n");
  EXPECT_EQ(table.GetValue(u"n"), -1);  // values go below zero and the key stays
  EXPECT_TRUE(table.HasKey(u"n"));
  EXPECT_EQ(table.Count(), 2);
}

TEST(CHashLongValues, CaseAndTheEmptyKeyAreDistinctKeys) {
  CHashLong table;
  table.Init(5, 5, false);
  table.SetValue(u"A", 1);
  table.SetValue(u"a", 2);
  table.SetValue(u"", 3);
  EXPECT_EQ(table.GetValue(u"A"), 1);
  EXPECT_EQ(table.GetValue(u"a"), 2);
  EXPECT_EQ(table.GetValue(u""), 3);
  std::vector<std::u16string> keys = table.GetKeys();
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"", u"A", u"a"}));
}

TEST(CHashLongValues, OverflowLeavesTheValueUnchanged) {
  CHashLong table;
  table.Init(5, 5, false);
  table.SetValue(u"max", INT32_MAX);
  table.SetValue(u"min", INT32_MIN);
  EXPECT_EQ(ErrorOf([&] { table.IncrementKey(u"max", false); }).number, vx::kErrOverflow);
  EXPECT_EQ(ErrorOf([&] { table.IncrementKey(u"max", true); }).description, u"Overflow");
  EXPECT_EQ(ErrorOf([&] { table.DecrementKey(u"min"); }).number, vx::kErrOverflow);
  EXPECT_EQ(table.GetValue(u"max"), INT32_MAX);
  EXPECT_EQ(table.GetValue(u"min"), INT32_MIN);
  table.DecrementKey(u"max");
  table.IncrementKey(u"min", false);
  EXPECT_EQ(table.GetValue(u"max"), INT32_MAX - 1);
  EXPECT_EQ(table.GetValue(u"min"), INT32_MIN + 1);
}

TEST(CHashLongKeys, GetKeysListsThePresentKeysInSlotOrder) {
  CHashLong table;
  table.Init(101, 101, true);
  EXPECT_TRUE(table.GetKeys().empty());
  for (int i = 0; i < 40; ++i) table.SetValue(U("w" + std::to_string(i)), i);
  for (int i = 0; i < 40; i += 3) table.RemoveKey(U("w" + std::to_string(i)));
  const std::vector<std::u16string> keys = table.GetKeys();
  ASSERT_EQ(keys.size(), static_cast<size_t>(table.Count()));
  std::set<std::u16string> expected;
  for (int i = 0; i < 40; ++i) {
    if (i % 3) expected.insert(U("w" + std::to_string(i)));
  }
  EXPECT_EQ(std::set<std::u16string>(keys.begin(), keys.end()), expected);
  for (size_t i = 1; i < keys.size(); ++i) {
    EXPECT_LT(Peer::SlotOf(table, keys[i - 1]), Peer::SlotOf(table, keys[i]));
  }
}

TEST(CHashLongErrors, TextsOfTheTablesOwnErrors) {
  CHashLong table;
  table.Init(5, 5, false);
  const vx::ErrorInfo increment = ErrorOf([&] { table.IncrementKey(u"Foo", false); });
  EXPECT_EQ(increment.number, 1);
  EXPECT_EQ(increment.description, u"Cannot increment missing key Foo");
  const vx::ErrorInfo decrement = ErrorOf([&] { table.DecrementKey(u"Foo"); });
  EXPECT_EQ(decrement.number, 1);
  EXPECT_EQ(decrement.description, u"Cannot decrement missing key Foo");
  EXPECT_EQ(ErrorOf([&] { table.GetValue(u""); }).description, u"hash-key not found: ");
  const vx::ErrorInfo removal = ErrorOf([&] { table.RemoveKey(u"Foo"); });
  EXPECT_EQ(removal.number, 1);
  EXPECT_EQ(removal.description, u"Application-defined or object-defined error");
  EXPECT_EQ(table.Count(), 0);
}

TEST(CHashLongErrors, BeforeInitLookupsDivideByZeroAndRemovalIsRefused) {
  CHashLong table;
  EXPECT_EQ(ErrorOf([&] { table.SetValue(u"k", 1); }).number, vx::kErrDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { table.IncrementKey(u"k", true); }).number, vx::kErrDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { table.DecrementKey(u"k"); }).number, vx::kErrDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { table.GetValue(u"k"); }).description, u"Division by zero");
  EXPECT_EQ(ErrorOf([&] { table.HasKey(u"k"); }).number, vx::kErrDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { table.RemoveKey(u"k"); }).number, vx::kErrAppDefined);
  EXPECT_TRUE(table.GetKeys().empty());
  EXPECT_EQ(table.Capacity(), 0);
}

TEST(CHashLongErrors, SourcesNestTheTablesRoutinesAndNameTheCallersLine) {
  CHashLong table;
  const std::wregex nested(LR"(^CHashLong\.\d+ \(CHashLong\.\d+ \(vxTM2Main\)\)$)");
  const std::wregex single(LR"(^CHashLong\.\d+ \(vxTM2Main\)$)");
  auto wide = [](const std::u16string& s) { return std::wstring(s.begin(), s.end()); };
  uint32_t line = 0;
  try {
    line = __LINE__ + 1;
    table.GetValue(u"k");
    FAIL();
  } catch (const vx::Error& e) {
    EXPECT_TRUE(std::regex_match(wide(e.source()), nested)) << vx::ToUtf8(e.source());
    EXPECT_EQ(e.line(), line);
  }
  table.Init(5, 5, false);
  try {
    line = __LINE__ + 1;
    table.GetValue(u"k");
    FAIL();
  } catch (const vx::Error& e) {
    EXPECT_TRUE(std::regex_match(wide(e.source()), single)) << vx::ToUtf8(e.source());
    EXPECT_EQ(e.line(), line);
  }
}

TEST(CHashLongErrors, FailedSizingKeepsEveryKey) {
  CHashLong table;
  table.Init(5, 5, true);
  for (int i = 0; i < 5; ++i) table.SetValue(U("k" + std::to_string(i)), i);
  // A grow level whose threshold overflows: Init fails and changes nothing.
  table.SetAutosizeLevels(0.2f, 0.5f, 1e10f);
  EXPECT_EQ(ErrorOf([&] { table.Init(50, 50, false); }).number, vx::kErrOverflow);
  EXPECT_EQ(table.Capacity(), 5);
  EXPECT_TRUE(table.RemovalEnabled());
  // A target level of 0 fails the resize; the keys stay.
  table.SetAutosizeLevels(0.2f, 0.0f, 0.8f);
  EXPECT_EQ(ErrorOf([&] { table.SetValue(u"k9", 9); }).number, vx::kErrDivisionByZero);
  EXPECT_EQ(table.Count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(table.GetValue(U("k" + std::to_string(i))), i);
  // A full table whose next capacity cannot take the grow level: the growth fails whole.
  CHashLong full;
  full.SetAutosizeLevels(0.2f, 0.5f, 9e8f);
  full.Init(2, 2, false);
  full.SetValue(u"a", 1);
  full.SetValue(u"b", 2);
  EXPECT_EQ(ErrorOf([&] { full.SetValue(u"c", 3); }).number, vx::kErrOverflow);
  EXPECT_EQ(full.Capacity(), 2);
  EXPECT_EQ(full.GetValue(u"a"), 1);
  EXPECT_EQ(full.GetValue(u"b"), 2);
}

// Random operations on small tables, against a model; levels that let the table fill up.
void ChurnAgainstModel(CHashLong& table, bool removal, uint32_t seed, int operations) {
  std::mt19937 random(seed);
  std::map<std::u16string, int32_t> model;
  for (int op = 0; op < operations; ++op) {
    const std::u16string key = U("k" + std::to_string(random() % 24));
    switch (random() % 5) {
      case 0:
        table.SetValue(key, op);
        model[key] = op;
        break;
      case 1:
        table.IncrementKey(key, true);
        ++model[key];
        break;
      case 2:
        if (removal) {
          table.RemoveKey(key);
          model.erase(key);
        }
        break;
      case 3:
        ASSERT_EQ(table.HasKey(key), model.count(key) == 1) << vx::ToUtf8(key);
        break;
      default:
        if (model.count(key)) {
          ASSERT_EQ(table.GetValue(key), model[key]) << vx::ToUtf8(key);
        }
        break;
    }
    ASSERT_EQ(table.Count(), static_cast<int32_t>(model.size()));
    ASSERT_GE(table.Capacity(), table.Count());
  }
  for (const auto& [key, value] : model) ASSERT_EQ(table.GetValue(key), value);
  ASSERT_EQ(table.GetKeys().size(), model.size());
}

TEST(CHashLongFullTables, SmallTablesNeverLoopAndNeverLoseAKey) {
  struct Levels {
    float shrink, target, grow;
  };
  for (const Levels levels :
       {Levels{0.2f, 0.5f, 0.8f}, Levels{0.2f, 0.5f, 1.0f}, Levels{0.1f, 0.9f, 0.5f},
        Levels{0.0f, 2.0f, 0.8f}, Levels{0.5f, 1.0f, 3.0f}, Levels{0.3f, 0.5f, -1.0f}}) {
    for (int32_t size : {2, 3, 5, 7}) {
      for (bool removal : {false, true}) {
        SCOPED_TRACE(testing::Message()
                     << "levels " << levels.shrink << "/" << levels.target << "/" << levels.grow
                     << " size " << size << " removal " << removal);
        CHashLong table;
        table.SetAutosizeLevels(levels.shrink, levels.target, levels.grow);
        table.Init(size, size, removal);
        ChurnAgainstModel(table, removal, static_cast<uint32_t>(size * 31 + removal), 3000);
      }
    }
  }
}

TEST(CHashLongFullTables, ATableOfTwoTakesAThirdKey) {
  CHashLong table;
  table.Init(2, 2, false);
  table.SetValue(u"a", 1);
  table.SetValue(u"b", 2);
  EXPECT_EQ(table.Capacity(), 2);
  EXPECT_FALSE(table.HasKey(u"c"));  // a full table: the search is bounded
  EXPECT_EQ(ErrorOf([&] { table.IncrementKey(u"c", false); }).number, 1);
  table.SetValue(u"c", 3);
  EXPECT_EQ(table.Capacity(), 3);
  EXPECT_EQ(table.GetValue(u"a") + table.GetValue(u"b") + table.GetValue(u"c"), 6);
}

TEST(CHashLongChurn, LongKeysSurviveRemovalsResizesAndCompaction) {
  CHashLong table;
  table.Init(50, 50, true);
  std::map<std::u16string, int32_t> model;
  std::mt19937 random(5);
  for (int round = 0; round < 20000; ++round) {
    const std::u16string key = U(std::string(random() % 60, 'p') + std::to_string(random() % 5));
    if (random() % 2 == 0) {
      table.RemoveKey(key);
      model.erase(key);
    } else {
      table.IncrementKey(key, true);
      ++model[key];
    }
  }
  ASSERT_EQ(table.Count(), static_cast<int32_t>(model.size()));
  for (const auto& [key, value] : model) ASSERT_EQ(table.GetValue(key), value);
}

TEST(CHashLongChurn, MissesStayShortWhileMarksComeAndGo) {
  CHashLong table;
  table.Init(1000, 1000, true);
  const int32_t capacity = table.Capacity();
  std::mt19937 random(7);
  std::vector<std::u16string> present;
  int next = 0;
  for (; next < 500; ++next) {
    present.push_back(U("p" + std::to_string(next)));
    table.SetValue(present.back(), next);
  }
  for (int round = 0; round < 100000; ++round) {
    const size_t victim = random() % present.size();
    table.RemoveKey(present[victim]);
    present[victim] = U("p" + std::to_string(next++));
    table.IncrementKey(present[victim], true);
  }
  EXPECT_EQ(table.Capacity(), capacity);  // the count stayed between the thresholds
  EXPECT_EQ(table.Count(), 500);
  table.ResetStatistics();
  for (int i = 0; i < 1000; ++i) EXPECT_FALSE(table.HasKey(U("absent" + std::to_string(i))));
  const double missProbes = static_cast<double>(table.Statistics().probes) /
                            static_cast<double>(table.Statistics().lookups);
  EXPECT_LT(missProbes, 12.0);
  table.ResetStatistics();
  for (const std::u16string& key : present) EXPECT_TRUE(table.HasKey(key));
  const double hitProbes = static_cast<double>(table.Statistics().probes) /
                           static_cast<double>(table.Statistics().lookups);
  EXPECT_LT(hitProbes, 4.0);
}

}  // namespace
