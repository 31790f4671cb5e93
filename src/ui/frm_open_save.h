// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QPushButton;

namespace kr820::ui {

// The choice between a whole data set collection and a single data set, before opening or
// saving. Results: Collection, SingleSet or Cancel.
class TfrmOpenSave : public QDialog {
    Q_OBJECT

public:
    enum Result { Cancel = 2, Collection = 1, SingleSet = 7 };

    explicit TfrmOpenSave(const QString& caption, QWidget* owner = nullptr);

    // Captions for opening; they depend on whether ".csv" files are offered.
    void UseOpenCaptions(bool decimalComma);

private:
    QPushButton* m_btnOpenSets;
    QPushButton* m_btnOpenSingleSet;
    QPushButton* m_btnCancel;
};

}  // namespace kr820::ui
