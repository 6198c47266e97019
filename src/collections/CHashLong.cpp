#include "collections/CHashLong.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "contracts/Numeric.h"

namespace {

constexpr std::u16string_view kPrefix = u"CHashLong.";
constexpr uint32_t kHashMask = 0x7FFFFFFFu;
constexpr size_t kBothHashesLength = 16;
constexpr uint32_t kProbeGroup = 4;
constexpr int32_t kPrefetchCapacity = 32 * 1024;

std::u16string Described(std::u16string_view text, std::u16string_view key) {
  std::u16string description(text);
  description += key;
  return description;
}

// The hashes as plain functions, so that the look-up has them inline.
//
// XOR commutes with rotation, so four characters can be folded in with a single rotation of h on
// the dependency chain; the value is that of rotating after every character.
uint32_t RotateXorHash(std::u16string_view key) noexcept {
  uint32_t h = 0;
  const char16_t* const c = key.data();
  const size_t length = key.size();
  size_t i = 0;
  for (; i + 4 <= length; i += 4) {
    h = std::rotl(h, 20) ^ (std::rotl(uint32_t{c[i]}, 20) ^ std::rotl(uint32_t{c[i + 1]}, 15)) ^
        (std::rotl(uint32_t{c[i + 2]}, 10) ^ std::rotl(uint32_t{c[i + 3]}, 5));
  }
  for (; i < length; ++i) h = std::rotl(h ^ c[i], 5);
  return h;
}

// Both hashes in one pass: their dependency chains run side by side.
struct HashPair {
  uint32_t primary;
  uint32_t secondary;
};
HashPair BothHashes(std::u16string_view key) noexcept {
  uint32_t primary = 0;
  uint32_t secondary = 0;
  for (const char16_t c : key) {
    primary = std::rotl(primary ^ c, 5);
    secondary = std::rotl(secondary + c, 11);
  }
  return {primary, secondary};
}

uint32_t RotateAddHash(std::u16string_view key) noexcept {
  uint32_t h = 0;
  for (const char16_t c : key) h = std::rotl(h + c, 11);
  return h;
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
    // The check is a call only when it can act: counting passes it millions of times.
    if (table_.count > table_.growThreshold) CheckAutosize(true);
    const SlotSearch found = FindSlotForInsertion(key);
    if (found.held) {
      table_.slots[found.index].value = value;
      return;
    }
    Occupy(table_, found.index, found.hash, key, value);
    if (RemovalMarksCrowdVacancies()) CleanUpRemovalMarks();
  });
}

void CHashLong::IncrementKey(std::u16string_view key, bool addIfMissing, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    if (table_.count > table_.growThreshold) CheckAutosize(true);
    const SlotSearch found = addIfMissing ? FindSlotForInsertion(key) : FindHeld(key);
    if (found.held) {
      Slot& slot = table_.slots[found.index];
      slot.value = vx::CheckedAdd(slot.value, 1);
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
    const SlotSearch found = FindHeld(key);
    if (!found.held)
      vx::Raise(vx::kErrAppDefined, {}, Described(u"Cannot decrement missing key ", key));
    Slot& slot = table_.slots[found.index];
    slot.value = vx::CheckedAdd(slot.value, -1);
  });
}

int32_t CHashLong::GetValue(std::u16string_view key, vx::Here here) const {
  return vx::Handled(kPrefix, here, [&] {
    const SlotSearch found = FindHeld(key);
    if (!found.held) vx::Raise(vx::kErrAppDefined, {}, Described(u"hash-key not found: ", key));
    return table_.slots[found.index].value;
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
        table_.garbage += table_.slots[found.index].length;
      }
      if (Kind(state) != kRemoved) {
        state = kRemoved | (state & kOverflow);
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
  return vx::Handled(kPrefix, here, [&] { return FindHeld(key).held; });
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
  return vx::Handled(kPrefix, here, [&] { return RotateXorHash(key); });
}

uint32_t CHashLong::SecondaryHash(std::u16string_view key, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] { return RotateAddHash(key); });
}

CHashLong::SlotSearch CHashLong::FindSlot(std::u16string_view key, vx::Here here) const {
  RequireTable(here);
  // A short key costs little more for both hashes than for one; a long key's secondary hash,
  // a serial chain, waits until the home slot is known to be taken.
  const bool shortKey = key.size() <= kBothHashesLength;
  const HashPair hashes = shortKey ? BothHashes(key) : HashPair{RotateXorHash(key), 0};
  const uint32_t hash = hashes.primary & kHashMask;
  const uint32_t home = table_.modulus.Of(hash);
  // Where the states outgrow the first-level cache, the probes after the home slot are asked
  // for together with it, so that a miss waits for memory once rather than twice.
  uint32_t step = 0;
  if (shortKey && table_.capacity > kPrefetchCapacity) {
    step = StepFrom(table_, hashes.secondary);
    PrefetchGroup(table_, home, step);
  }
  const uint8_t state = table_.states[home];
  if (Kind(state) == HeldState(hash) && Holds(table_.slots[home], hash, key)) {
    return Counted({static_cast<int32_t>(home), true, hash}, 1);
  }
  if (table_.marks != 0) return ProbeMarked(key, hash, home);
  if (step == 0) step = shortKey ? StepFrom(table_, hashes.secondary) : StepOf(table_, key);
  return ProbeUnmarked(key, hash, home, step);
}

CHashLong::SlotSearch CHashLong::FindHeld(std::u16string_view key, vx::Here here) const {
  RequireTable(here);
  const uint32_t hash = RotateXorHash(key) & kHashMask;
  const uint32_t home = table_.modulus.Of(hash);
  const uint8_t state = table_.states[home];
  if (Kind(state) == HeldState(hash) && Holds(table_.slots[home], hash, key)) {
    return Counted({static_cast<int32_t>(home), true, hash}, 1);
  }
  if (!(state & kOverflow)) return Counted({kNoSlot, false, hash}, 1);
  if (table_.marks != 0) return ProbeMarked(key, hash, home);
  return ProbeUnmarked(key, hash, home, StepOf(table_, key));
}

void CHashLong::RequireTable(vx::Here here) const {
  // Only an uninitialised table fails, so only that case pays for the handler: wrapped, the
  // look-up itself took a fifth more time.
  if (table_.capacity == 0) {
    vx::Handled(kPrefix, here, [] { vx::Raise(vx::kErrDivisionByZero); });
  }
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

CHashLong::SlotSearch CHashLong::FindSlotForInsertion(std::u16string_view key) {
  // No handler of its own: FindSlot and GrowForRoom have theirs, and a wrapper on the path of
  // every count costs a tenth of it.
  SlotSearch found = FindSlot(key);
  if (found.index == kNoSlot) {
    GrowForRoom();
    found = FindSlot(key);
  }
  return found;
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
    const std::u16string_view key = KeyOf(table_, slot);
    slot.key = static_cast<uint32_t>(compact.size());
    compact.insert(compact.end(), key.begin(), key.end());
  }
  table_.records = std::move(compact);
  table_.garbage = 0;
}

// ---- probing past the home slot ----

// Without removal marks a probe ends at the key or at the first vacant slot, so the states of
// several probes can be read at once and the first event found in a bit mask: the loads overlap,
// and a miss takes one predictable branch per group instead of one unpredictable branch per slot.
CHashLong::SlotSearch CHashLong::ProbeUnmarked(std::u16string_view key, uint32_t hash,
                                               uint32_t index, uint32_t step) const noexcept {
  const uint32_t capacity = static_cast<uint32_t>(table_.capacity);
  const uint8_t held = HeldState(hash);
  const uint8_t* const states = table_.states.data();
  // A prime capacity and a step in 1 .. capacity-1 visit every slot once in `capacity` probes;
  // stopping there bounds the search also in a table without a vacant slot.
  // The group starts at the home slot again, whose vacancy thus costs no branch of its own.
  index = index >= step ? index - step : index + capacity - step;
  for (uint32_t probes = 0; probes < capacity; probes += kProbeGroup) {
    uint32_t at[kProbeGroup];
    uint32_t vacant = 0;
    uint32_t candidates = 0;
#pragma GCC unroll 4
    for (uint32_t k = 0; k < kProbeGroup; ++k) {
      index += step;
      if (index >= capacity) index -= capacity;
      at[k] = index;
      const uint8_t state = states[index];
      vacant |= uint32_t{state == kVacant} << k;
      candidates |= uint32_t{Kind(state) == held} << k;
    }
    if (capacity - probes < kProbeGroup) {
      const uint32_t inSequence = (1u << (capacity - probes)) - 1;
      vacant &= inSequence;
      candidates &= inSequence;
    }
    const uint32_t beforeVacant = vacant ? (vacant & (0u - vacant)) - 1 : ~0u;
    for (uint32_t c = candidates & beforeVacant; c != 0; c &= c - 1) {
      const int k = std::countr_zero(c);
      if (Holds(table_.slots[at[k]], hash, key)) {
        return Counted({static_cast<int32_t>(at[k]), true, hash}, probes + 1 + k);
      }
    }
    if (vacant) {
      const int k = std::countr_zero(vacant);
      return Counted({static_cast<int32_t>(at[k]), false, hash}, probes + 1 + k);
    }
  }
  return Counted({kNoSlot, false, hash}, capacity);
}

// With removal marks an absent key goes to the first marked slot before the first vacant one,
// which the probe remembers on its way.
CHashLong::SlotSearch CHashLong::ProbeMarked(std::u16string_view key, uint32_t hash,
                                             uint32_t index) const noexcept {
  const uint32_t capacity = static_cast<uint32_t>(table_.capacity);
  const uint8_t held = HeldState(hash);
  uint32_t step = 0;
  int32_t firstFree = kNoSlot;
  for (uint32_t probes = 1;; ++probes) {
    const uint8_t state = Kind(table_.states[index]);
    if (state == held && Holds(table_.slots[index], hash, key)) {
      return Counted({static_cast<int32_t>(index), true, hash}, probes);
    }
    if (state == kVacant) {
      return Counted({firstFree == kNoSlot ? static_cast<int32_t>(index) : firstFree, false, hash},
                     probes);
    }
    if (state == kRemoved && firstFree == kNoSlot) firstFree = static_cast<int32_t>(index);
    if (probes == capacity) return Counted({firstFree, false, hash}, probes);
    if (step == 0) step = StepOf(table_, key);
    index += step;
    if (index >= capacity) index -= capacity;
  }
}

CHashLong::SlotSearch CHashLong::Counted(SlotSearch found, uint32_t probes) const noexcept {
  statistics_.lookups++;
  statistics_.probes += probes;
  return found;
}

bool CHashLong::Holds(const Slot& slot, uint32_t hash, std::u16string_view key) const noexcept {
  return slot.hash == hash && slot.length == key.size() &&
         SameChars(table_.records.data() + slot.key, key.data(), key.size());
}

uint32_t CHashLong::StepOf(const Table& table, std::u16string_view key) noexcept {
  return StepFrom(table, RotateAddHash(key));
}

uint32_t CHashLong::StepFrom(const Table& table, uint32_t secondaryHash) noexcept {
  const uint32_t step = table.modulus.Of(secondaryHash & kHashMask);
  return step != 0 ? step : static_cast<uint32_t>(table.capacity) - 1;
}

void CHashLong::PrefetchGroup(const Table& table, uint32_t index, uint32_t step) noexcept {
  const uint32_t capacity = static_cast<uint32_t>(table.capacity);
  for (uint32_t k = 0; k < kProbeGroup; ++k) {
    index += step;
    if (index >= capacity) index -= capacity;
    __builtin_prefetch(table.states.data() + index);
  }
}

// ---- slot helpers ----

std::u16string_view CHashLong::KeyOf(const Table& table, const Slot& slot) noexcept {
  return {table.records.data() + slot.key, slot.length};
}

uint8_t CHashLong::HeldState(uint32_t hash) noexcept {
  // The top bits: the low ones are close kin of the home slot.
  return static_cast<uint8_t>(kHeld | (hash >> 25));
}

void CHashLong::Occupy(Table& table, int32_t index, uint32_t hash, std::u16string_view key,
                       int32_t value, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    // The characters go in first: if that fails, the slot and the count are untouched.
    const size_t offset = table.records.size();
    if (key.size() > std::numeric_limits<uint32_t>::max() - offset) vx::Raise(vx::kErrOutOfMemory);
    const size_t needed = offset + key.size();
    if (needed > table.records.capacity()) {
      table.records.reserve(std::max(needed, 2 * table.records.capacity()));
    }
    table.records.insert(table.records.end(), key.begin(), key.end());
    uint8_t& state = table.states[static_cast<size_t>(index)];
    if (Kind(state) == kRemoved) --table.marks;
    state = HeldState(hash) | (state & kOverflow);
    const uint32_t home = table.modulus.Of(hash);
    if (home != static_cast<uint32_t>(index)) table.states[home] |= kOverflow;
    table.slots[static_cast<size_t>(index)] = {hash, value, static_cast<uint32_t>(offset),
                                               static_cast<uint32_t>(key.size())};
    ++table.count;
  });
}

void CHashLong::PlaceSlot(Table& table, const Slot& slot) noexcept {
  // The table has no marks and a vacant slot, and the key is not in it: the first vacant slot
  // of the probe sequence is the one FindSlot would choose.
  const uint32_t home = table.modulus.Of(slot.hash);
  uint32_t index = home;
  if (table.states[index] != kVacant) {
    const uint32_t capacity = static_cast<uint32_t>(table.capacity);
    const uint32_t step = StepOf(table, KeyOf(table, slot));
    do {
      index += step;
      if (index >= capacity) index -= capacity;
    } while (table.states[index] != kVacant);
    table.states[home] |= kOverflow;
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
