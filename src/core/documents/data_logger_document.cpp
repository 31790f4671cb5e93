// SPDX-License-Identifier: MIT
#include "core/documents/data_logger_document.h"

#include <utility>

#include "core/files/collection_file.h"
#include "core/files/temp_store.h"

namespace kr820::core {

DataLoggerDocument::DataLoggerDocument(QString programFolder, QObject* parent)
    : QObject(parent), m_programFolder(std::move(programFolder)) {}

DataLoggerDocument::LoadOutcome DataLoggerDocument::Load(const QByteArray& image,
                                                         const QString& source) {
    LoadOutcome outcome;
    TDataSetStore decoded;
    outcome.Parse = ParseMemoryImage(image, decoded);
    if (outcome.Parse.Code != ParseCode::Success) return outcome;
    return Adopt(image, std::move(decoded), source, outcome);
}

DataLoggerDocument::LoadOutcome DataLoggerDocument::LoadSetsBeforeDamage(
    const QByteArray& image, const ParseOutcome& failure, const QString& source) {
    LoadOutcome outcome;
    outcome.Parse = failure;
    TDataSetStore recovered;
    outcome.RecoveredSets = RecoverSetsBeforeDamage(image, failure, recovered);
    if (outcome.RecoveredSets == 0) return outcome;
    return Adopt(image, std::move(recovered), source, outcome);
}

DataLoggerDocument::LoadOutcome DataLoggerDocument::Adopt(const QByteArray& image,
                                                          TDataSetStore&& store,
                                                          const QString& source,
                                                          LoadOutcome outcome) {
    // The temporary store follows what is shown; without its folder nothing is shown. Any other
    // failure of it is silent and leaves its earlier content whole.
    const WriteOutcome stored = WriteTempStore(image, m_programFolder);
    if (stored.Status == WriteStatus::FolderNotCreated) {
        outcome.FolderNotCreated = stored.Reason;
        return outcome;
    }
    m_image = image;
    m_store = std::move(store);
    m_source = source;
    m_shownSet = 0;
    outcome.Shown = true;
    SetUnsaved(false);
    emit contentReplaced();
    emit shownSetChanged(m_shownSet);
    return outcome;
}

WriteOutcome DataLoggerDocument::SaveCollection(const QString& path) {
    const WriteOutcome outcome = core::SaveCollection(m_image, path);
    if (outcome.Written()) SetUnsaved(false);
    return outcome;
}

void DataLoggerDocument::MarkUnsaved() {
    if (HasImage()) SetUnsaved(true);
}

void DataLoggerDocument::MarkDiscarded() { SetUnsaved(false); }

void DataLoggerDocument::ShowSet(int set) {
    if (set < 0 || set >= m_store.SetCount() || set == m_shownSet) return;
    m_shownSet = set;
    emit shownSetChanged(set);
}

void DataLoggerDocument::SetUnsaved(bool unsaved) {
    if (unsaved == m_unsaved) return;
    m_unsaved = unsaved;
    emit unsavedChanged(unsaved);
}

}  // namespace kr820::core
