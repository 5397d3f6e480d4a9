// Time to make one size text, as the folder list does for every visible size
// cell on every redraw.
#include "bignum/BigInt.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

// Random 64-bit sizes with every magnitude (bit length) equally likely.
std::vector<BigInt> Sizes() {
    std::mt19937_64 engine(1);
    std::vector<BigInt> sizes;
    for (int i = 0; i < 1024; ++i) {
        uint64_t v = engine() >> (engine() % 64);
        unsigned char le[8];
        for (int b = 0; b < 8; ++b) le[b] = static_cast<unsigned char>(v >> (8 * b));
        sizes.push_back(BigInt::FromBytes(le, 8, 1));
    }
    return sizes;
}

void SizeText(benchmark::State& state, char separator, bool compact) {
    const std::vector<BigInt> sizes = Sizes();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sizes[i].ToSizeText(separator, compact));
        i = (i + 1) % sizes.size();
    }
}

void Compact(benchmark::State& state) { SizeText(state, ',', true); }
void Grouped(benchmark::State& state) { SizeText(state, '.', false); }

}  // namespace

BENCHMARK(Compact);
BENCHMARK(Grouped);
BENCHMARK_MAIN();
