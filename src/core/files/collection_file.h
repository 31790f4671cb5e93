// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>

#include "core/data/memory_image.h"
#include "core/data/parse_memory_image.h"
#include "core/files/file_outcome.h"
#include "core/time/date_time.h"

namespace kr820::core {

class TDataSetStore;

// Several times the largest image a download makes; a bigger file is no logger memory, and
// refusing it spares reading it whole.
inline constexpr qint64 kMaxCollectionFileBytes = 1 << 20;

// Writes the memory image whose sets the DataLogger window shows as a collection file, byte for
// byte. NothingToSave when the window shows none (no download or opened file in this run).
WriteOutcome SaveCollection(QByteArrayView shownImage, const QString& path);

enum class CollectionOpenStatus {
    Opened,      // the store holds the file's sets
    CannotOpen,  // Reason says why
    Empty,       // nothing to decode
    TooLarge,    // above kMaxCollectionFileBytes; no more than one byte past it is read
    Damaged,     // the decoder refused it: Parse says why
};

struct CollectionOpenOutcome {
    CollectionOpenStatus Status = CollectionOpenStatus::Opened;
    // The decoder's result; on a damaged record it also names the set where the damage begins,
    // which RecoverSetsBeforeDamage(Image, Parse, store) takes to keep the sets before it.
    ParseOutcome Parse;
    // The file's bytes, when Opened or Damaged.
    MemoryImage Image;
    QString Reason;
};

// Reads a collection file and decodes it into `store`. Only Opened changes the store; a short
// file, a bad set count or a damaged record leave it, and everything else, as it was.
CollectionOpenOutcome OpenCollection(const QString& path, TDataSetStore& store, TDateTime now);
CollectionOpenOutcome OpenCollection(const QString& path, TDataSetStore& store);

}  // namespace kr820::core
