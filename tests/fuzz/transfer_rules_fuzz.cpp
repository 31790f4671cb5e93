// SPDX-License-Identifier: MIT
// A download as the meter's side of the line may play it: a header reply, then blocks, each
// taken or refused by the transfer rules, and the image they build decoded at the end.
#include "core/data/parse_memory_image.h"
#include "core/download/transfer_rules.h"
#include "fuzz_support.h"

using namespace kr820;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView line = fuzz::BytesOf(data, size);
    if (line.size() < core::kHeaderReplyBytes) return 0;
    const QByteArrayView header = line.first(core::kHeaderReplyBytes);
    if (!core::IsHeaderReply(header)) return 0;

    const core::TransferSize transfer = core::ExpectedTransfer(core::HeaderEndAddress(header));
    if (transfer.code != core::DownloadCode::Success) {
        KR820_FUZZ_CHECK(transfer.expectedBytes == 0);
        return 0;
    }
    const int expected = transfer.expectedBytes;
    KR820_FUZZ_CHECK(expected > 0 && expected % core::kBlockPayloadBytes == 0);
    KR820_FUZZ_CHECK(expected < core::kMaxTransferBytes + core::kBlockPayloadBytes);

    core::MemoryImage image(core::kFirstRecordOffset, '\0');
    image.replace(0, header.size(), header.toByteArray());
    int received = 0;
    for (qsizetype at = header.size(); at + core::kBlockBytes <= line.size() && received <= expected;
         at += core::kBlockBytes) {
        const QByteArrayView block = line.sliced(at, core::kBlockBytes);
        if (!core::BlockChecksumMatches(block)) continue;  // refused: the meter sends it again
        image.append(block.sliced(1, core::kBlockPayloadBytes));
        received += core::kBlockPayloadBytes;
    }
    KR820_FUZZ_CHECK(image.size() == core::kFirstRecordOffset + received);

    core::TDataSetStore store;
    core::ParseMemoryImage(image, store, fuzz::FixedNowTDateTime());
    return 0;
}
