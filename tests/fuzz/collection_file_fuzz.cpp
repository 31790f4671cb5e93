// SPDX-License-Identifier: MIT
// A collection file (".820") as Open reads it, with the sets before a damaged record taken the
// way the DataLogger window offers them.
#include "core/data/data_set_store.h"
#include "core/files/collection_file.h"
#include "fuzz_support.h"

using namespace kr820;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFile scratch(".820");
    const core::TDateTime now = fuzz::FixedNowTDateTime();
    core::TDataSetStore store;
    const core::CollectionOpenOutcome outcome =
        core::OpenCollection(scratch.Write(data, size), store, now);
    switch (outcome.Status) {
        case core::CollectionOpenStatus::Opened:
            KR820_FUZZ_CHECK(store.SetCount() > 0);
            KR820_FUZZ_CHECK(outcome.Image == fuzz::BytesOf(data, size));
            break;
        case core::CollectionOpenStatus::Damaged: {
            KR820_FUZZ_CHECK(store.SetCount() == 0);
            core::TDataSetStore before;
            const int kept = core::RecoverSetsBeforeDamage(outcome.Image, outcome.Parse, before, now);
            KR820_FUZZ_CHECK(kept == before.SetCount());
            break;
        }
        case core::CollectionOpenStatus::CannotOpen:
            KR820_FUZZ_CHECK(false);  // the scratch file is always there
            break;
        case core::CollectionOpenStatus::Empty:
        case core::CollectionOpenStatus::TooLarge:
            KR820_FUZZ_CHECK(store.SetCount() == 0);
            break;
    }
    return 0;
}
