// CHashLong against a std::map model under random operation sequences: results, counts, key
// sets and errors must agree, and no operation may hang on a full or mark-ridden table.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "collections/CHashLong.h"
#include "testing/ErrorNumberOf.h"

namespace {

using vx::testing::ErrorNumberOf;
using vx::testing::ErrorOf;

struct Levels {
  float shrink, target, grow;
};

// Defaults, and levels that let tables fill up or resize on every insertion.
constexpr Levels kLevels[] = {
    {0.2f, 0.5f, 0.8f}, {0.2f, 0.5f, 1.0f},  {0.1f, 0.9f, 0.5f},  {0.0f, 2.0f, 0.8f},
    {0.5f, 1.0f, 3.0f}, {0.3f, 0.5f, -1.0f}, {0.2f, 0.25f, 0.4f}, {0.4f, 0.0f, 0.8f},
};

void Fail(const char* what) {
  fprintf(stderr, "mismatch: %s\n", what);
  abort();
}

void Expect(bool condition, const char* what) {
  if (!condition) Fail(what);
}

std::u16string PoolKey(unsigned index) {
  switch (index) {
    case 0:
      return u"";
    case 1:
      return u"A";
    case 2:
      return u"a";
    case 3:
      return std::u16string(u"a\0b", 3);
    case 4:
      return u"\xD800\xFFFF";
    case 5:
      return std::u16string(300, u'x');
    default:
      return u"k" + std::u16string(1, static_cast<char16_t>(u'0' + index % 40)) +
             (index >= 40 ? u"z" : u"");
  }
}

std::u16string NextKey(FuzzedDataProvider& in) {
  const uint8_t selector = in.ConsumeIntegral<uint8_t>();
  if (selector < 224) return PoolKey(selector % 64);
  std::u16string key(selector % 8, u'\0');
  for (char16_t& c : key) c = in.ConsumeIntegral<uint16_t>();
  return key;
}

class Harness {
 public:
  void Run(FuzzedDataProvider& in) {
    while (in.remaining_bytes() > 0) {
      Step(in);
      CheckInvariants();
    }
  }

 private:
  // A grow check that fires with a target level of 0 fails with division by zero.
  int32_t ExpectedGrowError() const {
    if (!initialised_) return vx::kErrDivisionByZero;  // the lookup that follows divides by 0
    return table_.Count() > table_.GrowThreshold() && levels_.target == 0.0f
               ? vx::kErrDivisionByZero
               : 0;
  }

  void Step(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
      case 0: {
        const int32_t minimumSize = in.ConsumeIntegralInRange<int32_t>(-3, 40);
        const int32_t initialSize = in.ConsumeIntegralInRange<int32_t>(-3, 60);
        const bool removal = in.ConsumeBool();
        table_.Init(minimumSize, initialSize, removal);
        initialised_ = true;
        removal_ = removal;
        model_.clear();
        Expect(table_.Count() == 0, "count after Init");
        Expect(table_.Capacity() >= table_.MinCapacity() && table_.MinCapacity() >= 2,
               "capacity after Init");
        break;
      }
      case 1: {
        levels_ = kLevels[in.ConsumeIntegralInRange<size_t>(0, std::size(kLevels) - 1)];
        table_.SetAutosizeLevels(levels_.shrink, levels_.target, levels_.grow);
        break;
      }
      case 2: {
        const std::u16string key = NextKey(in);
        const int32_t value = in.ConsumeIntegral<int32_t>();
        const int32_t expected = ExpectedGrowError();
        Expect(ErrorNumberOf([&] { table_.SetValue(key, value); }) == expected, "SetValue error");
        if (!expected) model_[key] = value;
        break;
      }
      case 3: {
        const std::u16string key = NextKey(in);
        const bool add = in.ConsumeBool();
        int32_t expected = ExpectedGrowError();
        const auto found = model_.find(key);
        if (!expected && found == model_.end() && !add) expected = vx::kErrAppDefined;
        if (!expected && found != model_.end() && found->second == INT32_MAX) {
          expected = vx::kErrOverflow;
        }
        const vx::ErrorInfo error = ErrorOf([&] { table_.IncrementKey(key, add); });
        Expect(error.number == expected, "IncrementKey error");
        if (expected == vx::kErrAppDefined) {
          Expect(error.description == u"Cannot increment missing key " + key, "increment text");
        }
        if (!expected) ++model_[key];
        break;
      }
      case 4: {
        const std::u16string key = NextKey(in);
        const auto found = model_.find(key);
        int32_t expected = !initialised_                ? vx::kErrDivisionByZero
                           : found == model_.end()      ? vx::kErrAppDefined
                           : found->second == INT32_MIN ? vx::kErrOverflow
                                                        : 0;
        const vx::ErrorInfo error = ErrorOf([&] { table_.DecrementKey(key); });
        Expect(error.number == expected, "DecrementKey error");
        if (expected == vx::kErrAppDefined) {
          Expect(error.description == u"Cannot decrement missing key " + key, "decrement text");
        }
        if (!expected) --found->second;
        break;
      }
      case 5: {
        const std::u16string key = NextKey(in);
        const auto found = model_.find(key);
        int32_t value = 0;
        const vx::ErrorInfo error = ErrorOf([&] { value = table_.GetValue(key); });
        if (!initialised_) {
          Expect(error.number == vx::kErrDivisionByZero, "GetValue before Init");
        } else if (found == model_.end()) {
          Expect(error.number == vx::kErrAppDefined &&
                     error.description == u"hash-key not found: " + key,
                 "GetValue of a missing key");
        } else {
          Expect(error.number == 0 && value == found->second, "GetValue");
        }
        break;
      }
      case 6: {
        const std::u16string key = NextKey(in);
        if (!removal_) {
          Expect(ErrorNumberOf([&] { table_.RemoveKey(key); }) == vx::kErrAppDefined,
                 "RemoveKey off");
          break;
        }
        model_.erase(key);
        const int32_t error = ErrorNumberOf([&] { table_.RemoveKey(key); });
        // The shrink check runs after the removal, which stays done when it fails.
        const bool shrinkFires =
            table_.Count() < table_.ShrinkThreshold() && table_.Capacity() != table_.MinCapacity();
        const int32_t expected = shrinkFires && levels_.target == 0.0f ? vx::kErrDivisionByZero : 0;
        Expect(error == expected, "RemoveKey error");
        break;
      }
      case 7: {
        const std::u16string key = NextKey(in);
        bool has = false;
        const int32_t error = ErrorNumberOf([&] { has = table_.HasKey(key); });
        if (!initialised_) {
          Expect(error == vx::kErrDivisionByZero, "HasKey before Init");
        } else {
          Expect(error == 0 && has == (model_.count(key) == 1), "HasKey");
        }
        break;
      }
      case 8: {
        const std::vector<std::u16string> keys = table_.GetKeys();
        std::set<std::u16string> expected;
        for (const auto& entry : model_) expected.insert(entry.first);
        Expect(keys.size() == model_.size(), "GetKeys size");
        Expect(std::set<std::u16string>(keys.begin(), keys.end()) == expected, "GetKeys set");
        break;
      }
      default: {
        // Values near the edges, for the overflow checks.
        const std::u16string key = NextKey(in);
        const int32_t value = in.ConsumeBool() ? INT32_MAX : INT32_MIN;
        const int32_t expected = ExpectedGrowError();
        Expect(ErrorNumberOf([&] { table_.SetValue(key, value); }) == expected, "SetValue edge");
        if (!expected) model_[key] = value;
        break;
      }
    }
  }

  void CheckInvariants() const {
    Expect(table_.Count() == static_cast<int32_t>(model_.size()), "count");
    Expect(table_.Count() <= table_.Capacity(), "count within capacity");
    Expect(table_.RemovalMarks() + table_.Count() <= table_.Capacity(), "marks within capacity");
    if (!removal_) Expect(table_.RemovalMarks() == 0, "marks without removal");
  }

  CHashLong table_;
  std::map<std::u16string, int32_t> model_;
  Levels levels_ = kLevels[0];
  bool initialised_ = false;
  bool removal_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  Harness harness;
  harness.Run(in);
  return 0;
}
