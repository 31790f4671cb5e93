// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kr820::ui {
class Prompter;
}

namespace kr820::meter {

// What the user chose: the rate's index in the rate list and the number as typed, or a recording
// until stopped into a store in `Folder` (absolute).
struct RealTimeSetupChoice {
    int RateIndex = 0;
    QString Points;
    bool UntilStopped = false;
    QString Folder;
};

// After a number of points that is not one: the number as entered, then this.
inline const QString kNotValidSuffix = QStringLiteral(" is not valid.\n");

// The number of points typed, when it is a whole number above 0 (zero points would make a
// recording that stops at its first sample).
std::optional<int> RealTimePoints(const QString& typed);

// "Real-Time Setup": how many points to record and how often, with the period that makes.
class TfrmSetupRealTime : public QDialog {
    Q_OBJECT

public:
    // `rateIndex` is the graph's present sampling rate.
    // With a prompter, Start refuses a number of points that is not a whole number above 0:
    // it tells why and stays open with the number as typed, the cursor on it. A recording
    // until stopped asks before it makes a folder that does not exist, and refuses one it
    // cannot write into, saying why, the folder as typed.
    // `folder` is where a recording until stopped goes unless the user types another.
    TfrmSetupRealTime(int rateIndex, QWidget* owner = nullptr, ui::Prompter* prompter = nullptr,
                      const QString& folder = QString());

    void accept() override;

    // The period of the entered number at the chosen rate, hours:mm:ss.
    void edtRealTimeNoChange();
    // "until stopped": the number and the period give way to the store's folder.
    void chkUntilStoppedClick();

    RealTimeSetupChoice Choice() const;

private:
    // The folder exists, or was made on the user's Yes, and a store can be written in it.
    bool RecordingFolderAccepted();
    // Browse...: the folder picked through the prompter replaces the one typed.
    void BrowseFolder();

    ui::Prompter* m_prompter;
    QString m_defaultFolder;
    QLineEdit* m_edtRealTimeNo;
    QComboBox* m_txtRate;
    QLineEdit* m_edtPeriod;
    QCheckBox* m_chkUntilStopped;
    QLineEdit* m_edtStoreFolder;
    QPushButton* m_btnBrowseFolder;
    QPushButton* m_btnStart;
    QPushButton* m_btnCancel;
};

}  // namespace kr820::meter
