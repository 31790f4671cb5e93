// SPDX-License-Identifier: MIT
// A logger memory image as a download or a collection file hands it to the decoder.
#include "core/data/memory_image.h"
#include "core/data/parse_memory_image.h"
#include "fuzz_support.h"

namespace {

using namespace kr820;

// A decoded store describes itself consistently: every set lies inside the image, in order, and
// the flat sequences hold exactly its pairs.
void CheckStore(const core::TDataSetStore& store, qsizetype imageSize) {
    const int sets = store.SetCount();
    KR820_FUZZ_CHECK(sets <= core::kMaxDataSets);
    qsizetype pairs = 0;
    for (int set = 0; set < sets; ++set) {
        const auto first = store.FirstBytes()[size_t(set)];
        const auto end = store.EndBytes()[size_t(set)];
        KR820_FUZZ_CHECK(first >= core::kFirstRecordOffset && first < end && end < imageSize);
        KR820_FUZZ_CHECK(store.SampleCounts()[size_t(set)] >= 0);
        const core::FlatRange range = store.SetRange(set);
        KR820_FUZZ_CHECK(range.First == 2 * pairs && range.Count == 2 * store.SampleCounts()[size_t(set)]);
        pairs += store.SampleCounts()[size_t(set)];
    }
    KR820_FUZZ_CHECK(qsizetype(store.Values().size()) == 2 * pairs);
    KR820_FUZZ_CHECK(store.Times().size() == store.Values().size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView image = fuzz::BytesOf(data, size);
    const core::TDateTime now = fuzz::FixedNowTDateTime();
    core::TDataSetStore store;
    const core::ParseOutcome outcome = core::ParseMemoryImage(image, store, now);
    if (outcome.Code == core::ParseCode::Success) {
        CheckStore(store, image.size());
        KR820_FUZZ_CHECK(store.SetCount() > 0);
        return 0;
    }
    KR820_FUZZ_CHECK(store.SetCount() == 0);  // a refused image leaves the store as it was
    if (outcome.Code != core::ParseCode::DamagedRecord) return 0;
    KR820_FUZZ_CHECK(outcome.ErrorSet >= 0 && outcome.ErrorOffset >= core::kFirstRecordOffset - 1);
    // Past the first set, the damage lies behind records that were read whole.
    KR820_FUZZ_CHECK(outcome.ErrorSet == 0 || outcome.ErrorOffset < image.size());
    core::TDataSetStore before;
    const int recovered = core::RecoverSetsBeforeDamage(image, outcome, before, now);
    KR820_FUZZ_CHECK(recovered == outcome.ErrorSet && recovered == before.SetCount());
    CheckStore(before, image.size());
    return 0;
}
