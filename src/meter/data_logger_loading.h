// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include "core/documents/data_logger_document.h"

class QWidget;

namespace kr820::ui {
class Prompter;
}

namespace kr820::meter {

// Texts of what taking an image into the DataLogger document came to.
inline const QString kRecoveredMessage =
    QStringLiteral("%1 data sets before the damaged one were recovered.");
inline const QString kOneRecoveredMessage =
    QStringLiteral("1 data set before the damaged one was recovered.");
inline const QString kNothingRecoveredMessage =
    QStringLiteral("The first data set is damaged: nothing could be recovered.");

// An image into the document, shown when it decodes whole; a temporary store whose folder could
// not be made is named in a message.
core::DataLoggerDocument::LoadOutcome LoadIntoDataLogger(core::DataLoggerDocument& document, const QByteArray& image,
                        const QString& source, ui::Prompter& prompter, QWidget* owner);

// Of an image whose decode failed with a damaged record, the sets before it; tells how many (or
// that there were none). True when they are shown.
bool LoadSetsBeforeDamage(core::DataLoggerDocument& document, const QByteArray& image,
                          const core::ParseOutcome& failure, const QString& source,
                          ui::Prompter& prompter, QWidget* owner);

}  // namespace kr820::meter
