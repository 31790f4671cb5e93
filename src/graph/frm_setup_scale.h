// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include "core/graph/scale_file.h"

class QCheckBox;
class QLineEdit;

namespace kr820::graph {

// The Y axis dialog: both axes' minimum and maximum as whole numbers, and whether to keep them
// for the graphs shown later. It checks nothing itself: the caller reads the boxes after OK.
class TfrmSetupScale : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSetupScale(const core::ScaleBoxValues& current, QWidget* parent = nullptr);

    core::ScaleBoxTexts Texts() const;
    bool SaveSetting() const;

private:
    QLineEdit* m_edtT1Min;
    QLineEdit* m_edtT1Max;
    QLineEdit* m_edtT2Min;
    QLineEdit* m_edtT2Max;
    QCheckBox* m_chkSave;
};

}  // namespace kr820::graph
