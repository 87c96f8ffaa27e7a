// Nanoseconds per ConvertExpression over a fixed mix of inputs, and the heap allocations made
// while converting (counted by interposing glibc's malloc family; the target is zero).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstddef>
#include <cstring>

#include "convert.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
}

namespace {

std::atomic<long> Allocations{0};

const char* const MIXED_INPUTS[] = {
    "5 ft", "2 kg", "10 l", "1 mile", "  3 stones ", "100 ha",  // ordinary units
    "5'10", "6' 2\"",                                        // feet and inches
    "100 c", "98.6 F",                                       // temperatures
    "5", "5 parsecs", "", "1e400 ft",                        // no result
};
constexpr size_t INPUT_COUNT = sizeof MIXED_INPUTS / sizeof MIXED_INPUTS[0];

void ConvertMixed(benchmark::State& state)
{
    char text[32];
    size_t next = 0;
    const long before = Allocations.load();
    for (auto _ : state) {
        std::strcpy(text, MIXED_INPUTS[next]);  // the engine trims its input in place
        benchmark::DoNotOptimize(ConvertExpression(text));
        next = next + 1 == INPUT_COUNT ? 0 : next + 1;
    }
    state.counters["allocations"] = static_cast<double>(Allocations.load() - before);
}
BENCHMARK(ConvertMixed);

}  // namespace

extern "C" {
void* malloc(size_t size)
{
    ++Allocations;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size)
{
    ++Allocations;
    return __libc_calloc(count, size);
}
void* realloc(void* block, size_t size)
{
    ++Allocations;
    return __libc_realloc(block, size);
}
}

BENCHMARK_MAIN();
