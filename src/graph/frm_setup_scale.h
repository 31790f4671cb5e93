// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include "core/graph/scale_file.h"

class QCheckBox;
class QLineEdit;

namespace kr820::ui {
class Prompter;
}

namespace kr820::graph {

// The Y axis dialog: both axes' minimum and maximum as whole numbers, and whether to keep them
// for the graphs shown later. OK with a box to mend tells why through `prompter` and stays open
// with everything as typed, the cursor in that box.
class TfrmSetupScale : public QDialog {
    Q_OBJECT

public:
    TfrmSetupScale(const core::ScaleBoxValues& current, ui::Prompter& prompter,
                   QWidget* parent = nullptr);

    void accept() override;

    core::ScaleBoxTexts Texts() const;
    bool SaveSetting() const;

private:
    ui::Prompter& m_prompter;
    QLineEdit* m_edtT1Min;
    QLineEdit* m_edtT1Max;
    QLineEdit* m_edtT2Min;
    QLineEdit* m_edtT2Max;
    QCheckBox* m_chkSave;
};

}  // namespace kr820::graph
