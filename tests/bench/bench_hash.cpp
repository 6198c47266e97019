// CHashLong against std::unordered_map and absl::flat_hash_map in one process. Each workload
// runs for all three tables in turn, repeated and interleaved so that noise from other processes
// hits them alike; the medians and their ratios are printed, with CHashLong's mean probe lengths
// and the heap allocations per operation of every table. Times are the thread's CPU time, so
// that the time the machine gives to other processes does not count.
//
//   bench_hash [repetitions [workload]]   (default 15, all workloads; workload 1 to 4 runs one)
#include <absl/container/flat_hash_map.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <new>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "collections/CHashLong.h"
#include "testing/CountedAllocations.h"

namespace {

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

using Keys = std::vector<std::u16string>;
using StdMap = std::unordered_map<std::u16string, int32_t>;
using AbslMap = absl::flat_hash_map<std::u16string, int32_t>;

int64_t gSink = 0;  // results feed this so that no look-up is optimised away

// ---- key generation ----

std::u16string RandomWord(std::mt19937& random) {
  // Lengths 3..12, most around 6-8, like the words of a text.
  static const int kLengths[] = {3, 4, 4, 5, 5, 5, 6, 6, 6,  6,  7,
                                 7, 7, 7, 8, 8, 8, 9, 9, 10, 11, 12};
  const int length = kLengths[random() % std::size(kLengths)];
  std::u16string word;
  for (int i = 0; i < length; ++i) word += static_cast<char16_t>(u'a' + random() % 26);
  if (random() % 8 == 0) word[0] = static_cast<char16_t>(word[0] - u'a' + u'A');
  return word;
}

Keys DistinctWords(size_t count, uint32_t seed,
                   const std::unordered_set<std::u16string>& avoid = {}) {
  std::mt19937 random(seed);
  std::unordered_set<std::u16string> seen;
  Keys keys;
  while (keys.size() < count) {
    std::u16string word = RandomWord(random);
    if (avoid.count(word) || !seen.insert(word).second) continue;
    keys.push_back(std::move(word));
  }
  return keys;
}

Keys Paths(size_t count, size_t first) {
  Keys keys;
  for (size_t i = first; i < first + count; ++i) {
    std::string path =
        "C:\\Users\\Public\\Documents\\Telvaro\\Backups\\Phone 2\\Media\\Camera\\IMG_" +
        std::to_string(1000000 + i) + ".jpg";
    keys.emplace_back(path.begin(), path.end());
  }
  return keys;
}

// Indices 0..n-1 drawn with probability proportional to 1/(rank+1).
std::vector<uint32_t> ZipfSequence(size_t n, size_t length, uint32_t seed) {
  std::vector<double> weights(n);
  for (size_t r = 0; r < n; ++r) weights[r] = 1.0 / static_cast<double>(r + 1);
  std::discrete_distribution<uint32_t> pick(weights.begin(), weights.end());
  std::mt19937 random(seed);
  std::vector<uint32_t> sequence(length);
  for (uint32_t& index : sequence) index = pick(random);
  return sequence;
}

// ---- the three tables behind one face ----

struct HashLongTable {
  static constexpr const char* kName = "CHashLong";
  CHashLong table;
  HashLongTable() { table.Init(0, 0, false); }
  void Increment(const std::u16string& key) { table.IncrementKey(key, true); }
  void Set(const std::u16string& key, int32_t value) { table.SetValue(key, value); }
  int32_t Get(const std::u16string& key) const { return table.GetValue(key); }
  bool Has(const std::u16string& key) const { return table.HasKey(key); }
};

template <class Map, const char* Name>
struct MapTable {
  static constexpr const char* kName = Name;
  Map map;
  void Increment(const std::u16string& key) { ++map[key]; }
  void Set(const std::u16string& key, int32_t value) { map[key] = value; }
  int32_t Get(const std::u16string& key) const { return map.find(key)->second; }
  bool Has(const std::u16string& key) const { return map.find(key) != map.end(); }
};

constexpr char kStdName[] = "unordered_map";
constexpr char kAbslName[] = "flat_hash_map";
using StdTable = MapTable<StdMap, kStdName>;
using AbslTable = MapTable<AbslMap, kAbslName>;

// ---- measurements ----

struct Phase {
  double seconds = 0;
  uint64_t allocations = 0;
};

template <class Body>
Phase Measure(Body&& body) {
  const uint64_t before = vx::test::gAllocations;
  const double start = ThreadSeconds();
  body();
  return {ThreadSeconds() - start, vx::test::gAllocations - before};
}

// One run of a workload on one table: the time and allocations of each named phase.
struct Run {
  std::vector<Phase> phases;
  double hitProbes = 0;  // mean probes per look-up of a present key; CHashLong only
  double missProbes = 0;
};

template <class Table>
double MeanProbes(const Table&) {
  return 0;
}
double MeanProbes(const HashLongTable& t) {
  const auto& s = t.table.Statistics();
  return s.lookups ? static_cast<double>(s.probes) / static_cast<double>(s.lookups) : 0;
}
template <class Table>
void ResetProbes(Table&) {}
void ResetProbes(HashLongTable& t) {
  t.table.ResetStatistics();
}

struct Data {
  Keys countingWords;
  std::vector<const std::u16string*> countingSequence;
  Keys words, missingWords;
  Keys paths, missingPaths;
  Keys small, missingSmall;
  std::vector<uint32_t> smallSequence;
};

// (1) counting from an empty table; the second phase counts again over the keys now present.
template <class Table>
Run Counting(const Data& d) {
  Run run;
  Table t;
  run.phases.push_back(Measure([&] {
    for (const std::u16string* key : d.countingSequence) t.Increment(*key);
  }));
  ResetProbes(t);
  run.phases.push_back(Measure([&] {
    for (const std::u16string* key : d.countingSequence) t.Increment(*key);
  }));
  run.hitProbes = MeanProbes(t);
  gSink += t.Get(*d.countingSequence.front());
  return run;
}

// (2), (3), (4): inserts, then a hit and a miss for each key (or a random sequence of each).
template <class Table>
Run InsertHitMiss(const Keys& keys, const Keys& missing, const std::vector<uint32_t>* sequence) {
  Run run;
  Table t;
  run.phases.push_back(Measure([&] {
    int32_t value = 0;
    for (const std::u16string& key : keys) t.Set(key, ++value);
  }));
  ResetProbes(t);
  run.phases.push_back(Measure([&] {
    int64_t sum = 0;
    if (sequence) {
      for (uint32_t index : *sequence) sum += t.Get(keys[index]);
    } else {
      for (const std::u16string& key : keys) sum += t.Get(key);
    }
    gSink += sum;
  }));
  run.hitProbes = MeanProbes(t);
  ResetProbes(t);
  run.phases.push_back(Measure([&] {
    int64_t found = 0;
    if (sequence) {
      for (uint32_t index : *sequence) found += t.Has(missing[index]);
    } else {
      for (const std::u16string& key : missing) found += t.Has(key);
    }
    gSink += found;
  }));
  run.missProbes = MeanProbes(t);
  return run;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct Workload {
  const char* name;
  std::vector<const char*> phases;
  std::vector<double> operations;  // per phase, for the per-op figures
  std::function<Run(int)> run;     // argument: 0 CHashLong, 1 unordered_map, 2 flat_hash_map
};

void Report(const Workload& w, const std::vector<std::vector<Run>>& runs) {
  static const char* kTables[] = {"CHashLong", "unordered_map", "flat_hash_map"};
  std::printf("\n== %s\n", w.name);
  for (size_t p = 0; p < w.phases.size(); ++p) {
    double median[3];
    for (int t = 0; t < 3; ++t) {
      std::vector<double> times;
      for (const Run& r : runs[t]) times.push_back(r.phases[p].seconds);
      median[t] = Median(times);
    }
    std::printf("  %-22s", w.phases[p]);
    for (int t = 0; t < 3; ++t) {
      std::printf("  %s %7.1f ns/op", kTables[t], median[t] * 1e9 / w.operations[p]);
    }
    std::printf("\n  %-22s  ratio CHashLong/unordered_map %.2f   CHashLong/flat_hash_map %.2f\n",
                "", median[0] / median[1], median[0] / median[2]);
    std::printf("  %-22s  allocations/op:", "");
    for (int t = 0; t < 3; ++t) {
      std::printf("  %s %.4f", kTables[t],
                  static_cast<double>(runs[t].front().phases[p].allocations) / w.operations[p]);
    }
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const int only = argc > 2 ? std::atoi(argv[2]) : 0;

  Data d;
  d.countingWords = DistinctWords(50000, 1);
  for (uint32_t index : ZipfSequence(d.countingWords.size(), 1000000, 2)) {
    d.countingSequence.push_back(&d.countingWords[index]);
  }
  d.words = DistinctWords(200000, 3);
  {
    const std::unordered_set<std::u16string> present(d.words.begin(), d.words.end());
    d.missingWords = DistinctWords(200000, 4, present);
  }
  d.paths = Paths(200000, 0);
  d.missingPaths = Paths(200000, 500000);
  d.small = DistinctWords(4000, 5);
  {
    const std::unordered_set<std::u16string> present(d.small.begin(), d.small.end());
    d.missingSmall = DistinctWords(4000, 6, present);
  }
  {
    std::mt19937 random(7);
    for (int i = 0; i < 1000000; ++i) d.smallSequence.push_back(random() % 4000);
  }

  auto dispatch = [](auto body) {
    return [body](int table) -> Run {
      switch (table) {
        case 0:
          return body(HashLongTable{});
        case 1:
          return body(StdTable{});
        default:
          return body(AbslTable{});
      }
    };
  };
  const std::vector<Workload> workloads = {
      {"(1) counting: 1,000,000 Zipf increments over 50,000 words, from empty",
       {"count from empty", "count, keys present"},
       {1e6, 1e6},
       dispatch([&](auto tag) { return Counting<decltype(tag)>(d); })},
      {"(2) 200,000 distinct words",
       {"insert", "hit", "miss"},
       {2e5, 2e5, 2e5},
       dispatch([&](auto tag) {
         return InsertHitMiss<decltype(tag)>(d.words, d.missingWords, nullptr);
       })},
      {"(3) 200,000 paths with long shared prefixes",
       {"insert", "hit", "miss"},
       {2e5, 2e5, 2e5},
       dispatch([&](auto tag) {
         return InsertHitMiss<decltype(tag)>(d.paths, d.missingPaths, nullptr);
       })},
      {"(4) cache-resident: 4,000 words, 1,000,000 random hits and misses",
       {"insert", "hit", "miss"},
       {4e3, 1e6, 1e6},
       dispatch([&](auto tag) {
         return InsertHitMiss<decltype(tag)>(d.small, d.missingSmall, &d.smallSequence);
       })},
  };

  std::printf("bench_hash: median of %d interleaved repetitions\n", repetitions);
  for (size_t i = 0; i < workloads.size(); ++i) {
    if (only != 0 && static_cast<size_t>(only) != i + 1) continue;
    const Workload& w = workloads[i];
    std::vector<std::vector<Run>> runs(3);
    for (int r = 0; r < repetitions; ++r) {
      for (int t = 0; t < 3; ++t) runs[t].push_back(w.run(t));
    }
    Report(w, runs);
    std::printf("  CHashLong mean probes per look-up: present keys %.3f, absent keys %.3f\n",
                runs[0].front().hitProbes, runs[0].front().missProbes);
  }
  std::printf("\n(checksum %lld)\n", static_cast<long long>(gSink));
  return 0;
}
