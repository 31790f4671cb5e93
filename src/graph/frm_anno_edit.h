// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLineEdit;

namespace kr820::graph {

// The text of a text annotation, asked for where it will go: a bare box with OK and Cancel. An
// empty text is a valid answer.
class TfrmAnnoEdit : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAnnoEdit(QWidget* parent = nullptr);

    QString Text() const;
    QLineEdit* TextBox() const { return m_textBox; }

private:
    QLineEdit* m_textBox;
};

}  // namespace kr820::graph
