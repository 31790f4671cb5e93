// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "core/data/data_set_store.h"
#include "core/data/parse_memory_image.h"
#include "core/files/file_outcome.h"

namespace kr820::core {

// What the DataLogger window shows, kept outside any window: the memory image as the meter
// delivered it (or as a collection file held it), its decoded data sets, the set shown, the file
// it came from and whether it is saved. The download and Open fill it, Save writes it, the window
// shows it and forwards the user's choice of set.
class DataLoggerDocument : public QObject {
    Q_OBJECT

public:
    // `programFolder` holds the temporary store ("temp") that every shown image is written to.
    explicit DataLoggerDocument(QString programFolder, QObject* parent = nullptr);

    // How taking an image in ended. Only Shown changed the document.
    struct LoadOutcome {
        ParseOutcome Parse;  // the decoder's verdict on the whole image
        // The temporary store's folder could not be made: the sets are not shown, and this names
        // the folder for the user.
        QString FolderNotCreated;
        int RecoveredSets = 0;  // of LoadSetsBeforeDamage
        bool Shown = false;
    };

    // Decodes `image` aside; a whole decode replaces the document (set 0 shown) once the
    // temporary store holds the image. `source` is the file it came from, empty for a download.
    LoadOutcome Load(const QByteArray& image, const QString& source = {});
    // Of an image whose decode failed with a damaged record, the sets before the damaged one.
    // The image is kept whole, so that a save loses nothing of it. Nothing changes when there are
    // none.
    LoadOutcome LoadSetsBeforeDamage(const QByteArray& image, const ParseOutcome& failure,
                                     const QString& source = {});

    // Writes the image, byte for byte, as a collection file; a written file makes the document
    // saved. NothingToSave while it holds none.
    WriteOutcome SaveCollection(const QString& path);

    // A download shown is not saved until a collection save or the user's "No".
    void MarkUnsaved();
    // The user chose to give up what is not saved.
    void MarkDiscarded();

    void ShowSet(int set);

    bool HasImage() const { return !m_image.isEmpty(); }
    const QByteArray& Image() const { return m_image; }
    const TDataSetStore& Store() const { return m_store; }
    int ShownSet() const { return m_shownSet; }
    const QString& SourcePath() const { return m_source; }
    bool Unsaved() const { return m_unsaved; }

signals:
    // New sets replaced the old ones; set 0 is shown.
    void contentReplaced();
    void shownSetChanged(int set);
    void unsavedChanged(bool unsaved);

private:
    LoadOutcome Adopt(const QByteArray& image, TDataSetStore&& store, const QString& source,
                      LoadOutcome outcome);
    void SetUnsaved(bool unsaved);

    QString m_programFolder;
    QByteArray m_image;
    TDataSetStore m_store;
    int m_shownSet = -1;
    QString m_source;
    bool m_unsaved = false;
};

}  // namespace kr820::core
