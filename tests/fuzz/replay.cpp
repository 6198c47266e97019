// Runs a fuzz target on a fixed series of pseudo-random inputs, so that every build's tests
// exercise its checks without libFuzzer. A failed check aborts, which fails the test.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main() {
  std::mt19937 random(7);
  std::vector<uint8_t> input;
  for (int run = 0; run < 400; ++run) {
    // Long inputs too: a table fills, resizes and collects removal marks only over many steps.
    input.resize(random() % (run % 4 == 0 ? 8192 : 512));
    for (uint8_t& byte : input) byte = static_cast<uint8_t>(random());
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  // Under Wine a program that dies part-way can still end with exit code 0: this line is the pass.
  std::puts("replay complete");
}
