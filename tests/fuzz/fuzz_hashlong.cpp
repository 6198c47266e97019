// CHashLong against a std::map model under random operation sequences: values, counts, key sets
// and error numbers must agree, and no operation may hang on a full or mark-ridden table.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "collections/CHashLong.h"
#include "testing/ErrorNumberOf.h"

namespace {

using vx::testing::ErrorNumberOf;

// Defaults, and levels that let tables fill up or resize on every insertion.
constexpr float kLevels[][3] = {{0.2f, 0.5f, 0.8f}, {0.2f, 0.5f, 1.0f}, {0.1f, 0.9f, 0.5f},
                                {0.0f, 2.0f, 0.8f}, {0.5f, 1.0f, 3.0f}, {0.3f, 0.5f, -1.0f},
                                {0.2f, 0.25f, 0.4f}};

void Expect(bool condition) {
  if (!condition) std::abort();
}

struct Harness {
  void Run() {
    Init();
    while (in.remaining_bytes() > 0) {
      Step(NextKey());
      Expect(table.Count() == static_cast<int32_t>(model.size()));
      Expect(table.RemovalMarks() + table.Count() <= table.Capacity());
    }
  }

  // Few keys, so that operations meet earlier ones; now and then arbitrary code units.
  std::u16string NextKey() {
    const uint8_t selector = in.ConsumeIntegral<uint8_t>();
    if (selector < 224) return u"k" + std::u16string(selector % 48, u'x');
    std::u16string key(selector % 8, u'\0');
    for (char16_t& c : key) c = in.ConsumeIntegral<uint16_t>();
    return key;
  }

  void Init() {
    const auto& levels = kLevels[in.ConsumeIntegralInRange<size_t>(0, std::size(kLevels) - 1)];
    table.SetAutosizeLevels(levels[0], levels[1], levels[2]);
    const int32_t minimumSize = in.ConsumeIntegralInRange<int32_t>(-3, 40);
    removal = in.ConsumeBool();
    table.Init(minimumSize, in.ConsumeIntegralInRange<int32_t>(-3, 60), removal);
    model.clear();
  }

  void Step(const std::u16string& key) {
    const auto found = model.find(key);
    const bool present = found != model.end();
    const int32_t value = present ? found->second : 0;
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
      case 0:
        return Init();
      case 1: {
        const int32_t stored = in.ConsumeBool() ? in.ConsumeIntegral<int32_t>()
                                                : (in.ConsumeBool() ? INT32_MAX : INT32_MIN);
        Expect(ErrorNumberOf([&] { table.SetValue(key, stored); }) == 0);
        model[key] = stored;
        return;
      }
      case 2: {
        const bool add = in.ConsumeBool();
        const int32_t expected = !present && !add     ? vx::kErrAppDefined
                                 : value == INT32_MAX ? vx::kErrOverflow
                                                      : 0;
        Expect(ErrorNumberOf([&] { table.IncrementKey(key, add); }) == expected);
        if (!expected) ++model[key];
        return;
      }
      case 3: {
        const int32_t expected = !present             ? vx::kErrAppDefined
                                 : value == INT32_MIN ? vx::kErrOverflow
                                                      : 0;
        Expect(ErrorNumberOf([&] { table.DecrementKey(key); }) == expected);
        if (!expected) --model[key];
        return;
      }
      case 4: {
        int32_t got = 0;
        Expect(ErrorNumberOf([&] { got = table.GetValue(key); }) ==
               (present ? 0 : vx::kErrAppDefined));
        Expect(got == value);
        return;
      }
      case 5:
        Expect(ErrorNumberOf([&] { table.RemoveKey(key); }) == (removal ? 0 : vx::kErrAppDefined));
        if (removal) model.erase(key);
        return;
      case 6:
        Expect(table.HasKey(key) == present);
        return;
      default: {
        std::vector<std::u16string> keys = table.GetKeys();
        std::sort(keys.begin(), keys.end());
        Expect(std::equal(
            keys.begin(), keys.end(), model.begin(), model.end(),
            [](const auto& listed, const auto& entry) { return listed == entry.first; }));
      }
    }
  }

  FuzzedDataProvider& in;
  CHashLong table{};
  std::map<std::u16string, int32_t> model{};
  bool removal = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  Harness{in}.Run();
  return 0;
}
