// SPDX-License-Identifier: MIT
#include "meter/data_logger_loading.h"

#include "ui/prompter.h"

namespace kr820::meter {

core::DataLoggerDocument::LoadOutcome LoadIntoDataLogger(core::DataLoggerDocument& document,
                                                         const QByteArray& image,
                                                         const QString& source,
                                                         ui::Prompter& prompter, QWidget* owner) {
    const core::DataLoggerDocument::LoadOutcome loaded = document.Load(image, source);
    if (!loaded.FolderNotCreated.isEmpty()) prompter.Message(owner, loaded.FolderNotCreated);
    return loaded;
}

bool LoadSetsBeforeDamage(core::DataLoggerDocument& document, const QByteArray& image,
                          const core::ParseOutcome& failure, const QString& source,
                          ui::Prompter& prompter, QWidget* owner) {
    const core::DataLoggerDocument::LoadOutcome loaded =
        document.LoadSetsBeforeDamage(image, failure, source);
    if (loaded.RecoveredSets == 0) {
        prompter.Message(owner, kNothingRecoveredMessage);
        return false;
    }
    if (!loaded.FolderNotCreated.isEmpty()) {
        prompter.Message(owner, loaded.FolderNotCreated);
        return false;
    }
    prompter.Message(owner, loaded.RecoveredSets == 1
                                ? kOneRecoveredMessage
                                : kRecoveredMessage.arg(loaded.RecoveredSets));
    return true;
}

}  // namespace kr820::meter
