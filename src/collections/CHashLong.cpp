#include "collections/CHashLong.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "contracts/Numeric.h"

namespace {

constexpr std::u16string_view kPrefix = u"CHashLong.";
constexpr uint32_t kHashMask = 0x7FFFFFFFu;

std::u16string Described(std::u16string_view text, std::u16string_view key) {
  std::u16string description(text);
  description += key;
  return description;
}

// Once the home slot is taken, the next few slots of the sequence are known at once: asking
// for them together overlaps their cache misses, which a miss would otherwise wait for in turn.
template <class Slot>
void PrefetchProbes(const Slot* slots, uint32_t index, uint32_t step, uint32_t capacity) {
#if defined(__GNUC__)
  for (int ahead = 0; ahead < 3; ++ahead) {
    index += step;
    if (index >= capacity) index -= capacity;
    __builtin_prefetch(slots + index);
  }
#else
  (void)slots, (void)index, (void)step, (void)capacity;
#endif
}

}  // namespace

// ---- public operations ----

void CHashLong::Init(int32_t minimumSize, int32_t initialSize, bool allowRemoval, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    // The sizes are worked out before anything changes, so a failing Init keeps the old table.
    const int32_t minCapacity = NextPrime(vx::CheckedAdd(minimumSize, -1));
    const int32_t initialCapacity =
        NextPrime(vx::CheckedAdd(MaxLong(minimumSize, initialSize), -1));
    AllocateTable(MaxLong(minCapacity, initialCapacity));
    removalEnabled_ = allowRemoval;
    minCapacity_ = minCapacity;
  });
}

void CHashLong::SetAutosizeLevels(float shrinkLevel, float targetLevel, float growLevel,
                                  vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    shrinkLevel_ = shrinkLevel;
    targetLevel_ = targetLevel;
    growLevel_ = growLevel;
  });
}

std::vector<std::u16string> CHashLong::GetKeys(vx::Here here) const {
  return vx::Handled(kPrefix, here, [&] {
    std::vector<std::u16string> keys;
    keys.reserve(static_cast<size_t>(table_.count));
    for (size_t i = 0; i < table_.slots.size(); ++i) {
      if (table_.states[i] & kHeld) keys.emplace_back(KeyOf(table_, table_.slots[i]));
    }
    return keys;
  });
}

void CHashLong::SetValue(std::u16string_view key, int32_t value, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    CheckAutosize(true);
    const SlotSearch found = FindSlotForInsertion(key);
    if (found.held) {
      StoreValue(table_, table_.slots[found.index], value);
      return;
    }
    Occupy(table_, found.index, found.hash, key, value);
    if (RemovalMarksCrowdVacancies()) CleanUpRemovalMarks();
  });
}

void CHashLong::IncrementKey(std::u16string_view key, bool addIfMissing, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    CheckAutosize(true);
    const SlotSearch found = addIfMissing ? FindSlotForInsertion(key) : FindSlot(key);
    if (found.held) {
      const Slot& slot = table_.slots[found.index];
      StoreValue(table_, slot, vx::CheckedAdd(ValueOf(table_, slot), 1));
      return;
    }
    if (!addIfMissing)
      vx::Raise(vx::kErrAppDefined, {}, Described(u"Cannot increment missing key ", key));
    Occupy(table_, found.index, found.hash, key, 1);  // added at 0, then incremented
    if (RemovalMarksCrowdVacancies()) CleanUpRemovalMarks();
  });
}

void CHashLong::DecrementKey(std::u16string_view key, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    const SlotSearch found = FindSlot(key);
    if (!found.held)
      vx::Raise(vx::kErrAppDefined, {}, Described(u"Cannot decrement missing key ", key));
    const Slot& slot = table_.slots[found.index];
    StoreValue(table_, slot, vx::CheckedAdd(ValueOf(table_, slot), -1));
  });
}

int32_t CHashLong::GetValue(std::u16string_view key, vx::Here here) const {
  return vx::Handled(kPrefix, here, [&] {
    const SlotSearch found = FindSlot(key);
    if (!found.held) vx::Raise(vx::kErrAppDefined, {}, Described(u"hash-key not found: ", key));
    return ValueOf(table_, table_.slots[found.index]);
  });
}

void CHashLong::RemoveKey(std::u16string_view key, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    if (!removalEnabled_) vx::Raise(vx::kErrAppDefined);
    const SlotSearch found = FindSlot(key);
    // kNoSlot: the key is absent from a full table, which has no vacant slot to mark.
    if (found.index != kNoSlot) {
      uint8_t& state = table_.states[found.index];
      if (found.held) {
        --table_.count;
        table_.garbage += kRecordHeader + KeyOf(table_, table_.slots[found.index]).size();
      }
      if (state != kRemoved) {
        state = kRemoved;
        ++table_.marks;
      }
    }
    CheckAutosize(false);
    if (RemovalMarksCrowdVacancies()) CleanUpRemovalMarks();
    // Compacting copies the live records and walks the slots: worth it once the garbage
    // outweighs both, which also pays for it.
    if (table_.garbage > table_.records.size() - table_.garbage &&
        table_.garbage >= static_cast<size_t>(table_.capacity)) {
      CompactRecords();
    }
  });
}

bool CHashLong::HasKey(std::u16string_view key, vx::Here here) const {
  return vx::Handled(kPrefix, here, [&] { return FindSlot(key).held; });
}

// ---- private routines ----

void CHashLong::AllocateTable(int32_t newCapacity, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    // Built aside and then swapped in: a failure leaves the current table whole.
    Table table;
    table.shrinkThreshold = vx::RoundToInt32(static_cast<double>(shrinkLevel_) * newCapacity);
    table.growThreshold = vx::RoundToInt32(static_cast<double>(growLevel_) * newCapacity);
    table.states.resize(static_cast<size_t>(newCapacity));
    table.slots.resize(static_cast<size_t>(newCapacity));
    table.capacity = newCapacity;
    table.modulus = FastModulus(static_cast<uint32_t>(newCapacity));
    table_ = std::move(table);
  });
}

void CHashLong::CheckAutosize(bool growing, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    if (growing) {
      if (table_.count <= table_.growThreshold) return;
    } else if (table_.count >= table_.shrinkThreshold || table_.capacity == minCapacity_) {
      return;
    }
    if (targetLevel_ == 0.0f) vx::Raise(vx::kErrDivisionByZero);
    const double quotient = static_cast<double>(table_.count) / static_cast<double>(targetLevel_);
    int32_t wanted = NextPrime(vx::CheckedAdd(vx::RoundToInt32(quotient), -1));
    if (wanted < minCapacity_) wanted = minCapacity_;
    if (wanted == table_.capacity) return;
    Resize(wanted);
  });
}

uint32_t CHashLong::PrimaryHash(std::u16string_view key, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    // XOR commutes with rotation, so four characters can be folded in with a single rotation
    // of h on the dependency chain; the value is that of rotating after every character.
    uint32_t h = 0;
    const char16_t* const c = key.data();
    const size_t length = key.size();
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
      h = RotateLeft(h, 20) ^ (RotateLeft(c[i], 20) ^ RotateLeft(c[i + 1], 15)) ^
          (RotateLeft(c[i + 2], 10) ^ RotateLeft(c[i + 3], 5));
    }
    for (; i < length; ++i) h = RotateLeft(h ^ c[i], 5);
    return h;
  });
}

uint32_t CHashLong::SecondaryHash(std::u16string_view key, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    uint32_t h = 0;
    for (const char16_t c : key) h = RotateLeft(h + c, 11);
    return h;
  });
}

CHashLong::SlotSearch CHashLong::FindSlot(std::u16string_view key, vx::Here here) const {
  return vx::Handled(kPrefix, here, [&]() -> SlotSearch {
    if (table_.capacity == 0) vx::Raise(vx::kErrDivisionByZero);
    const uint32_t capacity = static_cast<uint32_t>(table_.capacity);
    const uint32_t hash = PrimaryHash(key) & kHashMask;
    const uint8_t held = HeldState(hash);
    const uint8_t* const states = table_.states.data();
    const Slot* const slots = table_.slots.data();
    uint32_t index = table_.modulus.Of(hash);
    uint32_t step = 0;  // worked out only when the home slot is taken
    int32_t firstFree = kNoSlot;
    // A prime capacity and a step in 1 .. capacity-1 visit every slot once in `capacity` probes;
    // stopping there bounds the search also in a table without a vacant slot.
    for (uint32_t probes = 1;; ++probes) {
      const uint8_t state = states[index];
      if (state == held) {
        if (slots[index].hash == hash && KeysEqual(KeyOf(table_, slots[index]), key)) {
          statistics_.lookups++;
          statistics_.probes += probes;
          return {static_cast<int32_t>(index), true, hash};
        }
      } else if (state == kVacant) {
        statistics_.lookups++;
        statistics_.probes += probes;
        return {firstFree == kNoSlot ? static_cast<int32_t>(index) : firstFree, false, hash};
      } else if (state == kRemoved && firstFree == kNoSlot) {
        firstFree = static_cast<int32_t>(index);
      }
      if (probes == capacity) {
        statistics_.lookups++;
        statistics_.probes += probes;
        return {firstFree, false, hash};
      }
      if (step == 0) {
        step = table_.modulus.Of(SecondaryHash(key) & kHashMask);
        if (step == 0) step = capacity - 1;
        PrefetchProbes(states, index, step, capacity);
      }
      index += step;
      if (index >= capacity) index -= capacity;
    }
  });
}

uint32_t CHashLong::RotateLeft(uint32_t value, int32_t bits, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    if (bits > 32) bits %= 32;
    // A negative count shifts nothing in either direction.
    const int32_t complement = bits < 0 ? 32 : 32 - bits;
    return ShiftLeft(value, bits) | ShiftRight(value, complement);
  });
}

uint32_t CHashLong::ShiftRight(uint32_t value, int32_t bits, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] { return bits < 0 || bits > 31 ? 0u : value >> bits; });
}

uint32_t CHashLong::ShiftLeft(uint32_t value, int32_t bits, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] { return bits < 0 || bits > 31 ? 0u : value << bits; });
}

bool CHashLong::KeysEqual(std::u16string_view a, std::u16string_view b) noexcept {
  return a.size() == b.size() && SameChars(a.data(), b.data(), a.size());
}

int32_t CHashLong::NextPrime(int32_t x, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    if (x <= 1) return 2;
    int32_t candidate = x;
    do {
      candidate = vx::CheckedAdd(candidate, 1);
    } while (!IsPrime(candidate));
    return candidate;
  });
}

bool CHashLong::IsPrime(int32_t n, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    if (n < 4) return n == 2 || n == 3;
    if (n % 2 == 0 || n % 3 == 0) return false;
    const int32_t limit = static_cast<int32_t>(std::sqrt(static_cast<double>(n)));
    int32_t i = 7;
    for (; i <= limit; i += 6) {
      if (n % (i - 2) == 0 || n % i == 0) return false;
    }
    return !(i - 2 <= limit && n % (i - 2) == 0);
  });
}

int32_t CHashLong::MaxLong(int32_t a, int32_t b, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] { return a > b ? a : b; });
}

// ---- termination and clean-up ----

CHashLong::SlotSearch CHashLong::FindSlotForInsertion(std::u16string_view key, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    SlotSearch found = FindSlot(key);
    if (found.index == kNoSlot) {
      GrowForRoom();
      found = FindSlot(key);
    }
    return found;
  });
}

void CHashLong::Resize(int32_t newCapacity, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    // The pairs go in again in slot order, each into the first vacant slot of its probe
    // sequence, which is where SetValue would put it in the new table. Unlike SetValue, no grow
    // check runs in between: with levels that let a check fire inside a resize (a grow level
    // below the target level, or negative), nested resizes would make the work exponential in
    // the key count. A capacity that cannot hold the pairs grows to the next primes.
    int32_t capacity = newCapacity;
    while (capacity < table_.count) capacity = NextPrime(capacity);
    // Only the allocation can fail, and it happens while the old table is still in place.
    Table old = std::move(table_);
    try {
      AllocateTable(capacity);
    } catch (...) {
      table_ = std::move(old);
      throw;
    }
    MoveSlotsInto(table_, old);
  });
}

void CHashLong::GrowForRoom(vx::Here here) {
  vx::Handled(kPrefix, here, [&] { Resize(NextPrime(table_.capacity)); });
}

// Removal marks are cleared only by a rebuild, and a table whose count stays between its
// thresholds never resizes, so under churn they would pile up until every miss scans the whole
// table. The grow threshold normally leaves capacity - growThreshold slots vacant; once marks
// have eaten into more than half of that reserve, and clearing them restores at least half of
// it, the table is rebuilt at its own capacity. Each rebuild costs O(capacity) and is paid for
// by the removals (at least half the reserve) since the previous one.
bool CHashLong::RemovalMarksCrowdVacancies() const noexcept {
  if (table_.marks == 0) return false;
  const int64_t capacity = table_.capacity;
  const int64_t limit = std::clamp<int64_t>(table_.growThreshold, 0, capacity - 1);
  const int64_t reserve = std::max<int64_t>(1, (capacity - limit) / 2);
  const int64_t unmarkedVacant = capacity - table_.count - table_.marks;
  return unmarkedVacant < reserve && table_.marks >= reserve;
}

void CHashLong::CleanUpRemovalMarks() noexcept {
  // Same capacity and thresholds, so nothing can fail but memory; then the marks simply stay.
  Table rebuilt;
  try {
    rebuilt.states.resize(table_.states.size());
    rebuilt.slots.resize(table_.slots.size());
  } catch (...) {
    return;
  }
  rebuilt.capacity = table_.capacity;
  rebuilt.modulus = table_.modulus;
  rebuilt.shrinkThreshold = table_.shrinkThreshold;
  rebuilt.growThreshold = table_.growThreshold;
  MoveSlotsInto(rebuilt, table_);
  table_ = std::move(rebuilt);
}

void CHashLong::CompactRecords() noexcept {
  std::vector<char16_t> compact;
  try {
    compact.reserve(table_.records.size() - table_.garbage);
  } catch (...) {
    return;  // the garbage only costs memory
  }
  for (size_t i = 0; i < table_.slots.size(); ++i) {
    if (!(table_.states[i] & kHeld)) continue;
    Slot& slot = table_.slots[i];
    const auto first = table_.records.begin() + slot.record;
    const size_t length = kRecordHeader + KeyOf(table_, slot).size();
    slot.record = static_cast<uint32_t>(compact.size());
    compact.insert(compact.end(), first, first + static_cast<ptrdiff_t>(length));
  }
  table_.records = std::move(compact);
  table_.garbage = 0;
}

// ---- slot helpers ----

std::u16string_view CHashLong::KeyOf(const Table& table, const Slot& slot) noexcept {
  const char16_t* const record = table.records.data() + slot.record;
  uint32_t length;
  std::memcpy(&length, record, sizeof length);
  return {record + kRecordHeader, length};
}

int32_t CHashLong::ValueOf(const Table& table, const Slot& slot) noexcept {
  int32_t value;
  std::memcpy(&value, table.records.data() + slot.record + 2, sizeof value);
  return value;
}

void CHashLong::StoreValue(Table& table, const Slot& slot, int32_t value) noexcept {
  std::memcpy(table.records.data() + slot.record + 2, &value, sizeof value);
}

uint8_t CHashLong::HeldState(uint32_t hash) noexcept {
  // The top bits: the low ones are close kin of the home slot.
  return static_cast<uint8_t>(kHeld | (hash >> 24));
}

void CHashLong::Occupy(Table& table, int32_t index, uint32_t hash, std::u16string_view key,
                       int32_t value, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    // The record goes in first: if that fails, the slot and the count are untouched.
    const size_t offset = table.records.size();
    if (key.size() > std::numeric_limits<uint32_t>::max() - kRecordHeader - offset) {
      vx::Raise(vx::kErrOutOfMemory);
    }
    const uint32_t length = static_cast<uint32_t>(key.size());
    char16_t header[kRecordHeader];
    std::memcpy(header, &length, sizeof length);
    std::memcpy(header + 2, &value, sizeof value);
    const size_t needed = offset + kRecordHeader + key.size();
    if (needed > table.records.capacity()) {
      table.records.reserve(std::max(needed, 2 * table.records.capacity()));
    }
    table.records.insert(table.records.end(), header, header + kRecordHeader);
    table.records.insert(table.records.end(), key.begin(), key.end());
    uint8_t& state = table.states[static_cast<size_t>(index)];
    if (state == kRemoved) --table.marks;
    state = HeldState(hash);
    table.slots[static_cast<size_t>(index)] = {hash, static_cast<uint32_t>(offset)};
    ++table.count;
  });
}

void CHashLong::PlaceSlot(Table& table, const Slot& slot) noexcept {
  // The table has no marks and a vacant slot, and the key is not in it: the first vacant slot
  // of the probe sequence is the one FindSlot would choose.
  uint32_t index = table.modulus.Of(slot.hash);
  if (table.states[index] != kVacant) {
    const uint32_t capacity = static_cast<uint32_t>(table.capacity);
    uint32_t step = table.modulus.Of(SecondaryHash(KeyOf(table, slot)) & kHashMask);
    if (step == 0) step = capacity - 1;
    do {
      index += step;
      if (index >= capacity) index -= capacity;
    } while (table.states[index] != kVacant);
  }
  table.states[index] = HeldState(slot.hash);
  table.slots[index] = slot;
  ++table.count;
}

void CHashLong::MoveSlotsInto(Table& target, Table& source) noexcept {
  // The keys keep their records where they are: the arena moves over whole.
  target.records = std::move(source.records);
  target.garbage = source.garbage;
  target.count = 0;
  for (size_t i = 0; i < source.slots.size(); ++i) {
    if (source.states[i] & kHeld) PlaceSlot(target, source.slots[i]);
  }
}

bool CHashLong::SameChars(const char16_t* a, const char16_t* b, size_t length) noexcept {
  // Keys are mostly short: eight bytes at a time inline beat a call to memcmp.
  for (; length >= 4; length -= 4, a += 4, b += 4) {
    uint64_t x, y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    if (x != y) return false;
  }
  for (; length > 0; --length) {
    if (*a++ != *b++) return false;
  }
  return true;
}
