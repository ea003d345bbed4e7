// Obtaining, writing and releasing the optimizer's block, against a plain allocation and
// memset of the same number of bytes. The block is obtained the way the Windows allocator
// does it (fresh committed pages, here from mmap), so both sides pay the same page faults.
#include <benchmark/benchmark.h>
#include <sys/mman.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "win32/BlockFill.h"

namespace {

constexpr std::size_t kBlock = std::size_t{512} << 20;

void BlockObtainWriteRelease(benchmark::State& state) {
    for (auto _ : state) {
        void* block = mmap(nullptr, kBlock, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED) {
            state.SkipWithError("mmap failed");
            break;
        }
        tarvesk::FillWithSpaces(block, kBlock);
        benchmark::DoNotOptimize(block);
        benchmark::ClobberMemory();
        munmap(block, kBlock);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlock));
}

void PlainAllocateMemsetRelease(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[kBlock]);
        if (!block) {
            state.SkipWithError("allocation failed");
            break;
        }
        std::memset(block.get(), ' ', kBlock);
        benchmark::DoNotOptimize(block.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlock));
}

// The writing alone, into memory that is already there: shows what the page faults hide.
void WriteOnlySpaces(benchmark::State& state) {
    std::unique_ptr<unsigned char[]> block(new unsigned char[kBlock]);
    std::memset(block.get(), 1, kBlock);
    for (auto _ : state) {
        tarvesk::FillWithSpaces(block.get(), kBlock);
        benchmark::DoNotOptimize(block.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlock));
}

void WriteOnlyMemset(benchmark::State& state) {
    std::unique_ptr<unsigned char[]> block(new unsigned char[kBlock]);
    std::memset(block.get(), 1, kBlock);
    for (auto _ : state) {
        std::memset(block.get(), ' ', kBlock);
        benchmark::DoNotOptimize(block.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlock));
}

}  // namespace

#define TARVESK_BLOCK_BENCH(fn) \
    BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true)

TARVESK_BLOCK_BENCH(BlockObtainWriteRelease);
TARVESK_BLOCK_BENCH(PlainAllocateMemsetRelease);
TARVESK_BLOCK_BENCH(WriteOnlySpaces);
TARVESK_BLOCK_BENCH(WriteOnlyMemset);
