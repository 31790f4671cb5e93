// SPDX-License-Identifier: MIT
#include "core/files/collection_file.h"

#include <QFile>

#include "core/files/save_file.h"

namespace kr820::core {

WriteOutcome SaveCollection(QByteArrayView shownImage, const QString& path) {
    if (shownImage.isEmpty()) return {WriteStatus::NothingToSave, {}};
    return WriteFileAtomically(path, shownImage);
}

CollectionOpenOutcome OpenCollection(const QString& path, TDataSetStore& store, TDateTime now) {
    CollectionOpenOutcome outcome;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.Status = CollectionOpenStatus::CannotOpen;
        outcome.Reason = file.errorString();
        return outcome;
    }
    // Read up to one byte past the cap rather than trusting the size: a pipe or a device
    // reports none, and may never end.
    outcome.Image = file.read(kMaxCollectionFileBytes + 1);
    if (outcome.Image.size() > kMaxCollectionFileBytes) {
        outcome.Image.clear();
        outcome.Status = CollectionOpenStatus::TooLarge;
        return outcome;
    }
    if (outcome.Image.isEmpty()) {
        outcome.Status = CollectionOpenStatus::Empty;
        return outcome;
    }
    // The decoder refuses an image shorter than its header area or cut inside a record as a
    // damaged record, and leaves the store alone for every refusal.
    outcome.Parse = ParseMemoryImage(outcome.Image, store, now);
    if (outcome.Parse.Code != ParseCode::Success) outcome.Status = CollectionOpenStatus::Damaged;
    return outcome;
}

CollectionOpenOutcome OpenCollection(const QString& path, TDataSetStore& store) {
    return OpenCollection(path, store, NowTDateTime());
}

}  // namespace kr820::core
