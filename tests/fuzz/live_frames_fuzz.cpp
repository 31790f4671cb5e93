// SPDX-License-Identifier: MIT
// Bytes from the line, arriving in pieces of the sizes the input chooses, through the frame cutter
// and every whole frame through the parser, as the live path takes them.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/live/live_frame_parser.h"
#include "core/protocol/command_frame.h"
#include "core/protocol/live_frame_cutter.h"
#include "fuzz_support.h"

using namespace kr820;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    QByteArray buffer;
    while (input.remaining_bytes() > 0) {
        const std::size_t piece = input.ConsumeIntegralInRange<std::size_t>(1, 64);
        const std::string bytes = input.ConsumeBytesAsString(piece);
        buffer.append(bytes.data(), qsizetype(bytes.size()));
        const qsizetype held = buffer.size();
        qsizetype handed = 0;
        core::CutLiveFrames(buffer, [&](const QByteArray& frame) {
            KR820_FUZZ_CHECK(frame.size() == core::kLiveFrameBytes);
            KR820_FUZZ_CHECK(frame.front() == core::kStx && frame.back() == core::kEtx);
            handed += frame.size();
            const core::LiveReading reading = core::ParseLiveFrame(frame);
            // Sixteen bits of tenths: nothing beyond them can be read.
            for (const float celsius : reading.Celsius)
                KR820_FUZZ_CHECK(celsius >= -3276.8f && celsius <= 3276.7f);
        });
        // Whatever stays is what the next piece may complete; nothing is invented.
        KR820_FUZZ_CHECK(buffer.size() + handed <= held);
        KR820_FUZZ_CHECK(buffer.size() < core::kLiveFrameBytes || buffer.front() == core::kStx);
    }
    return 0;
}
