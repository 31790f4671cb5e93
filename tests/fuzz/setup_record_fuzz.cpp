// SPDX-License-Identifier: MIT
// The meter's setup record as the setup dialog reads it, and the bytes a save would write back.
#include "core/setup/meter_setup.h"
#include "core/setup/setup_lists.h"
#include "fuzz_support.h"

using namespace kr820;

namespace {

template <typename List>
bool Indexes(const List& list, int index) {
    return index >= 0 && index < int(list.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QDateTime now = fuzz::FixedNow();
    const core::MeterSetup setup = core::DecodeMeterSetup(fuzz::BytesOf(data, size), now);
    // The dialog shows every index in its list.
    KR820_FUZZ_CHECK(Indexes(core::kPrintIntervals, setup.PrintIntervalIndex));
    KR820_FUZZ_CHECK(Indexes(core::kGraphInchesPerHour, setup.GraphInchIndex));
    KR820_FUZZ_CHECK(Indexes(core::kScaleWidths, setup.ScaleWidthIndex));
    KR820_FUZZ_CHECK(Indexes(core::kRecordIntervals, setup.RecordIntervalIndex));
    KR820_FUZZ_CHECK(setup.MemLeft >= 0);
    for (const QDateTime* when : {&setup.PrintStart, &setup.PrintStop, &setup.RecordStart,
                                  &setup.RecordStop, &setup.MeterClock})
        KR820_FUZZ_CHECK(when->isValid());

    // Saving what was read unchanged writes back what the dialog showed.
    const QByteArray written = core::EncodeMeterSetup(setup);
    KR820_FUZZ_CHECK(written.size() == core::kWrittenSetupBytes + 1);
    const core::MeterSetup reread = core::DecodeMeterSetup(written, now);
    KR820_FUZZ_CHECK(reread.PrintIntervalIndex == setup.PrintIntervalIndex);
    KR820_FUZZ_CHECK(reread.GraphInchIndex == setup.GraphInchIndex);
    KR820_FUZZ_CHECK(reread.ScaleWidthIndex == setup.ScaleWidthIndex);
    KR820_FUZZ_CHECK(reread.RecordIntervalIndex == setup.RecordIntervalIndex);
    KR820_FUZZ_CHECK(reread.LowLimit == setup.LowLimit);
    KR820_FUZZ_CHECK(reread.AlarmUpperTenths == setup.AlarmUpperTenths);
    KR820_FUZZ_CHECK(reread.AlarmLowerTenths == setup.AlarmLowerTenths);
    KR820_FUZZ_CHECK(reread.AutoPowerOff == setup.AutoPowerOff && reread.AlarmOn == setup.AlarmOn);
    KR820_FUZZ_CHECK(reread.TypeK == setup.TypeK && reread.GraphPrintMode == setup.GraphPrintMode);
    KR820_FUZZ_CHECK(reread.Unshown == setup.Unshown);
    return 0;
}
