// A string-keyed open-addressing hash table of int32 values, made for counting.
//
// Capacities are prime and collisions are resolved by double hashing with two rotate-based
// string hashes, so one non-zero step reaches every slot. The table resizes itself between three
// fill levels. Removal is optional: when enabled, a removed key leaves a removal mark so that
// probe sequences running through its slot stay intact.
//
// Beyond the classic behaviour the table guarantees termination: a probe visits at most
// `capacity` slots, an insertion into a full table first grows it to the next larger prime, and
// when removal marks crowd out the vacant slots the table is rebuilt at its own capacity.
//
// Every routine passes errors on under the prefix "CHashLong." (see contracts/Error.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "collections/FastModulus.h"
#include "contracts/Error.h"

class CHashLongTestPeer;

class CHashLong {
 public:
  // Counters of the slots the look-ups examined, for measuring probe lengths.
  struct ProbeStatistics {
    uint64_t lookups = 0;
    uint64_t probes = 0;
  };

  CHashLong() = default;

  void Init(int32_t minimumSize, int32_t initialSize, bool allowRemoval,
            vx::Here here = vx::Here::current());
  // Stored without validation; the thresholds follow at the next allocation.
  void SetAutosizeLevels(float shrinkLevel, float targetLevel, float growLevel,
                         vx::Here here = vx::Here::current());
  std::vector<std::u16string> GetKeys(vx::Here here = vx::Here::current()) const;
  void SetValue(std::u16string_view key, int32_t value, vx::Here here = vx::Here::current());
  void IncrementKey(std::u16string_view key, bool addIfMissing,
                    vx::Here here = vx::Here::current());
  void DecrementKey(std::u16string_view key, vx::Here here = vx::Here::current());
  int32_t GetValue(std::u16string_view key, vx::Here here = vx::Here::current()) const;
  void RemoveKey(std::u16string_view key, vx::Here here = vx::Here::current());
  bool HasKey(std::u16string_view key, vx::Here here = vx::Here::current()) const;

  int32_t Capacity() const noexcept { return table_.capacity; }
  int32_t Count() const noexcept { return table_.count; }
  int32_t MinCapacity() const noexcept { return minCapacity_; }
  int32_t ShrinkThreshold() const noexcept { return table_.shrinkThreshold; }
  int32_t GrowThreshold() const noexcept { return table_.growThreshold; }
  bool RemovalEnabled() const noexcept { return removalEnabled_; }
  int32_t RemovalMarks() const noexcept { return table_.marks; }
  const ProbeStatistics& Statistics() const noexcept { return statistics_; }
  void ResetStatistics() noexcept { statistics_ = {}; }

 private:
  friend class CHashLongTestPeer;

  // Each slot has a state byte: vacant, removed (vacant with a removal mark) or held, the
  // latter with six bits of the key's primary hash. The state bytes sit in an array of their
  // own, small enough to stay in cache: a miss reads nothing else, and a hit compares the full
  // hash in the slot before it compares keys. Keeping the hash spares every rehash on resize.
  static constexpr uint8_t kVacant = 0;
  static constexpr uint8_t kRemoved = 1;
  static constexpr uint8_t kHeld = 0x80;
  // Beside the state, on the home slot of a key that was placed further along its probe
  // sequence; only a rebuild clears it. A look-up whose home slot lacks it can stop there, so
  // most misses read one state byte and never need the secondary hash. A vacant slot never has
  // it: a key passes its home slot only when that slot is taken, and a taken slot never becomes
  // vacant again except in a rebuild.
  static constexpr uint8_t kOverflow = 0x40;

  // The value and the key's length sit beside the hash, so that a look-up reaches the arena only
  // to compare characters, and a count changes nothing but the slot.
  struct Slot {
    uint32_t hash = 0;  // primary hash without its sign bit
    int32_t value = 0;
    uint32_t key = 0;  // where the key's characters start in Table::records
    uint32_t length = 0;
  };

  // The characters of all keys live in one arena. A resize hands the arena on to the new slots;
  // the characters of removed keys stay behind as garbage until the arena is compacted.
  struct Table {
    std::vector<uint8_t> states;
    std::vector<Slot> slots;
    std::vector<char16_t> records;
    size_t garbage = 0;  // code units
    FastModulus modulus;
    int32_t capacity = 0;
    int32_t count = 0;
    int32_t marks = 0;
    int32_t shrinkThreshold = 0;
    int32_t growThreshold = 0;
  };

  // Where FindSlot ended: the slot holding the key, the slot where it would be inserted, or
  // kNoSlot when the table is full and the key absent.
  struct SlotSearch {
    int32_t index;
    bool held;      // the slot holds the key
    uint32_t hash;  // the key's primary hash without its sign bit
  };
  static constexpr int32_t kNoSlot = -1;

  void AllocateTable(int32_t newCapacity, vx::Here here = vx::Here::current());
  void CheckAutosize(bool growing, vx::Here here = vx::Here::current());
  static uint32_t PrimaryHash(std::u16string_view key, vx::Here here = vx::Here::current());
  static uint32_t SecondaryHash(std::u16string_view key, vx::Here here = vx::Here::current());
  SlotSearch FindSlot(std::u16string_view key, vx::Here here = vx::Here::current()) const;
  static uint32_t RotateLeft(uint32_t value, int32_t bits, vx::Here here = vx::Here::current());
  static uint32_t ShiftRight(uint32_t value, int32_t bits, vx::Here here = vx::Here::current());
  static uint32_t ShiftLeft(uint32_t value, int32_t bits, vx::Here here = vx::Here::current());
  static bool KeysEqual(std::u16string_view a, std::u16string_view b) noexcept;
  static int32_t NextPrime(int32_t x, vx::Here here = vx::Here::current());
  static bool IsPrime(int32_t n, vx::Here here = vx::Here::current());
  static int32_t MaxLong(int32_t a, int32_t b, vx::Here here = vx::Here::current());

  // Beyond the classic routines: the guarantees of termination and bounded probing.
  SlotSearch FindSlotForInsertion(std::u16string_view key);
  // FindSlot for a key that is only read: an absent key yields kNoSlot rather than the slot it
  // would take, which lets the search end where no key can lie beyond.
  SlotSearch FindHeld(std::u16string_view key, vx::Here here = vx::Here::current()) const;
  void RequireTable(vx::Here here) const;
  void Resize(int32_t newCapacity, vx::Here here = vx::Here::current());
  void GrowForRoom(vx::Here here = vx::Here::current());
  void CleanUpRemovalMarks() noexcept;
  bool RemovalMarksCrowdVacancies() const noexcept;
  void CompactRecords() noexcept;

  // FindSlot past a taken home slot, in a table without and with removal marks.
  SlotSearch ProbeUnmarked(std::u16string_view key, uint32_t hash, uint32_t home,
                           uint32_t step) const noexcept;
  SlotSearch ProbeMarked(std::u16string_view key, uint32_t hash, uint32_t home) const noexcept;
  SlotSearch Counted(SlotSearch found, uint32_t probes) const noexcept;
  bool Holds(const Slot& slot, uint32_t hash, std::u16string_view key) const noexcept;
  static uint32_t StepOf(const Table& table, std::u16string_view key) noexcept;
  static uint32_t StepFrom(const Table& table, uint32_t secondaryHash) noexcept;
  static void PrefetchGroup(const Table& table, uint32_t home, uint32_t step) noexcept;

  static std::u16string_view KeyOf(const Table& table, const Slot& slot) noexcept;
  static uint8_t HeldState(uint32_t hash) noexcept;
  // The state without the overflow flag, to compare with kVacant, kRemoved or a HeldState.
  static uint8_t Kind(uint8_t state) noexcept { return state & ~kOverflow; }
  static void Occupy(Table& table, int32_t index, uint32_t hash, std::u16string_view key,
                     int32_t value, vx::Here here = vx::Here::current());
  static void PlaceSlot(Table& table, const Slot& slot) noexcept;
  static void MoveSlotsInto(Table& target, Table& source) noexcept;
  static bool SameChars(const char16_t* a, const char16_t* b, size_t length) noexcept;

  // Fields in the order of the classic design; the arrays and sizes live in table_.
  int32_t minCapacity_ = 0;
  bool removalEnabled_ = false;
  float shrinkLevel_ = 0.2f;
  float targetLevel_ = 0.5f;
  float growLevel_ = 0.8f;
  Table table_;
  mutable ProbeStatistics statistics_;
};
