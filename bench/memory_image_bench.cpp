// SPDX-License-Identifier: MIT
// Decoding the largest logger memory the meter reports: the time between the last downloaded
// block (or opening a collection file) and the data-set grid filling.
#include <benchmark/benchmark.h>

#include <QByteArray>

#include "core/data/memory_image.h"
#include "core/data/parse_memory_image.h"
#include "full_memory_image.h"

namespace {

using namespace kr820::core;

using kr820::bench::FullImage;

void BM_ParseFullMemoryImage(benchmark::State& state) {
    const QByteArray image = FullImage();
    TDataSetStore store;
    if (ParseMemoryImage(image, store, 0.0).Code != ParseCode::Success) {
        state.SkipWithError("image did not decode");
        return;
    }
    for (auto _ : state) {
        TDataSetStore fresh;
        benchmark::DoNotOptimize(ParseMemoryImage(image, fresh, 0.0));
        benchmark::DoNotOptimize(fresh.Values().data());
    }
    state.SetBytesProcessed(state.iterations() * image.size());
    state.counters["values"] = static_cast<double>(store.Values().size());
}
BENCHMARK(BM_ParseFullMemoryImage)->Unit(benchmark::kMicrosecond);

}  // namespace
