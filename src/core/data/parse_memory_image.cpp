// SPDX-License-Identifier: MIT
#include "core/data/parse_memory_image.h"

#include "core/data/bcd_date_time.h"
#include "core/data/hex_text.h"
#include "core/data/memory_image.h"
#include "core/data/rate_codes.h"
#include "core/data/sample_value.h"

namespace kr820::core {
namespace {

struct ImageHeader {
    std::int32_t setCount = 0;
    std::int64_t memoryEnd = 0;  // highest offset a record may end at
};

ImageHeader ReadImageHeader(QByteArrayView image) {
    // The count's text has no fixed width: it ends where the hexadecimal digits do.
    const auto count = static_cast<std::int32_t>(ReadHexText(image.sliced(kSetCountOffset)));
    const std::int64_t endAddress = ReadHexText(image.sliced(kMemoryEndOffset), kMemoryEndDigits);
    return {count, endAddress - kMemoryEndBias};
}

ParseOutcome Outcome(ParseCode code, std::int32_t errorSet = -1, std::int32_t errorOffset = -1) {
    ParseOutcome outcome;
    outcome.Code = code;
    outcome.ErrorSet = errorSet;
    outcome.ErrorOffset = errorOffset;
    return outcome;
}

ParseOutcome Damaged(std::int32_t set, qsizetype recordOffset) {
    return Outcome(ParseCode::DamagedRecord, set, static_cast<std::int32_t>(recordOffset - 1));
}

std::uint8_t ByteAt(QByteArrayView image, qsizetype offset) {
    return static_cast<std::uint8_t>(image[offset]);
}

// Tolerant on purpose: one garbled marker byte must not cost the whole memory, so a record counts
// as damaged only when both bytes of its start, or both of its end, are wrong.
bool MarkersHold(QByteArrayView image, qsizetype first, qsizetype end) {
    const bool start = ByteAt(image, first) == record::kStartMarker0 ||
                       ByteAt(image, first + 1) == record::kStartMarker1;
    const bool finish =
        ByteAt(image, end - 1) == record::kEndMarker0 || ByteAt(image, end) == record::kEndMarker1;
    return start && finish;
}

void DecodeSamples(QByteArrayView image, TDataSetStore& decoded) {
    qsizetype totalPairs = 0;
    for (const std::int32_t count : decoded.SampleCounts()) totalPairs += count;
    decoded.ReserveValues(totalPairs);

    for (int set = 0; set < decoded.SetCount(); ++set) {
        const TDateTime start = decoded.StartTimes()[set];
        const TDateTime step = RateSeconds(decoded.RateCodes()[set]) / kSecondsPerDay;
        const std::uint8_t flags = decoded.SetFlags()[set];
        const qsizetype first = decoded.FirstBytes()[set] + record::kSamples;
        const auto sample = [&](qsizetype offset) {
            const std::int32_t tenths =
                DecodeSample(ByteAt(image, offset), ByteAt(image, offset + 1));
            return StoredSampleValue(tenths, flags);
        };
        for (std::int32_t p = 0; p < decoded.SampleCounts()[set]; ++p) {
            const qsizetype pair = first + p * record::kBytesPerPair;
            // Multiplied rather than summed step by step, so a long set does not drift.
            decoded.AppendPair(start + p * step, sample(pair), sample(pair + 2));
        }
    }
}

// Header pass, then sample pass, into a store of its own, so that a damaged record leaves the
// caller's store as it was.
ParseOutcome DecodeSets(QByteArrayView image, const ImageHeader& header, TDateTime now,
                        TDataSetStore& decoded) {
    std::vector<std::int32_t> undated;
    qsizetype first = kFirstRecordOffset;
    for (std::int32_t set = 0; set < header.setCount; ++set) {
        // Only a damaged collection file can be this short, never a download.
        if (first + record::kSamples > image.size()) return Damaged(set, first);
        const std::int32_t pairs = ByteAt(image, first + record::kSampleCount) * 256 +
                                   ByteAt(image, first + record::kSampleCount + 1);
        const qsizetype end = record::EndOffset(first, pairs);
        if (end >= image.size() || end > header.memoryEnd || !MarkersHold(image, first, end)) {
            return Damaged(set, first);
        }
        const auto start = BcdDateTime(image.sliced(first + record::kDateTime, 6));
        if (!start) undated.push_back(set);
        decoded.AppendSet({.StartTime = start.value_or(now),
                           .RateCode = ByteAt(image, first + record::kRateCode),
                           .SampleCount = pairs,
                           .Flags = ByteAt(image, first + record::kFlags),
                           .FirstByte = static_cast<std::int32_t>(first),
                           .EndByte = static_cast<std::int32_t>(end)});
        first = end + 1;
    }
    DecodeSamples(image, decoded);
    ParseOutcome outcome;
    outcome.UndatedSets = std::move(undated);
    return outcome;
}

}  // namespace

ParseOutcome ParseMemoryImage(QByteArrayView image, TDataSetStore& store, TDateTime now) {
    if (image.size() < kHeaderFieldsEnd) return Damaged(0, kFirstRecordOffset);
    const ImageHeader header = ReadImageHeader(image);
    if (header.setCount == 0) return Outcome(ParseCode::NoDataSets);
    if (header.setCount < 0 || header.setCount > kMaxDataSets)
        return Outcome(ParseCode::BadSetCount);

    TDataSetStore decoded;
    const ParseOutcome outcome = DecodeSets(image, header, now, decoded);
    if (outcome.Code == ParseCode::Success) store = std::move(decoded);
    return outcome;
}

ParseOutcome ParseMemoryImage(QByteArrayView image, TDataSetStore& store) {
    return ParseMemoryImage(image, store, NowTDateTime());
}

int RecoverSetsBeforeDamage(QByteArrayView image, const ParseOutcome& failure, TDataSetStore& store,
                            TDateTime now, std::vector<std::int32_t>* undatedSets) {
    if (failure.Code != ParseCode::DamagedRecord || failure.ErrorSet <= 0) return 0;
    if (image.size() < kHeaderFieldsEnd) return 0;
    ImageHeader header = ReadImageHeader(image);
    if (failure.ErrorSet > header.setCount) return 0;  // not a failure of this image
    header.setCount = failure.ErrorSet;

    TDataSetStore decoded;
    ParseOutcome decodedOutcome = DecodeSets(image, header, now, decoded);
    if (decodedOutcome.Code != ParseCode::Success) return 0;
    store = std::move(decoded);
    if (undatedSets) *undatedSets = std::move(decodedOutcome.UndatedSets);
    return failure.ErrorSet;
}

int RecoverSetsBeforeDamage(QByteArrayView image, const ParseOutcome& failure,
                            TDataSetStore& store) {
    return RecoverSetsBeforeDamage(image, failure, store, NowTDateTime());
}

}  // namespace kr820::core
