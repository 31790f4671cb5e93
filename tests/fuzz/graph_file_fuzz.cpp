// SPDX-License-Identifier: MIT
// A graph file as Open reads it: the length prefix, then the chart block into a chart.
#include "core/chart/chart_model.h"
#include "core/files/graph_file.h"
#include "fuzz_support.h"

using namespace kr820;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFile scratch(".ghf");
    core::ChartModel chart;
    const QByteArray untouched = chart.SaveToBlock();
    const core::GraphReadOutcome outcome = core::ReadGraphFile(scratch.Write(data, size), chart);
    const QByteArray saved = chart.SaveToBlock();
    if (outcome.Status != core::GraphReadStatus::Loaded) {
        KR820_FUZZ_CHECK(saved == untouched);  // a refused file leaves the chart as it was
        return 0;
    }
    // What loaded saves to a block that loads back to itself.
    core::ChartModel again;
    KR820_FUZZ_CHECK(again.LoadFromBlock(saved) == core::ChartLoadResult::Loaded);
    KR820_FUZZ_CHECK(again.SaveToBlock() == saved);
    return 0;
}
