// SPDX-License-Identifier: MIT
#pragma once

#include <QIODevice>
#include <QString>
#include <QTemporaryDir>

namespace kr820::cli {

// The input name that stands for standard input.
inline const QString kStdinName = QStringLiteral("-");

// Standard input kept as a file the readers take, its kind told by its bytes: a graph file (its
// length first), text (tabs: .txt, commas: .csv) or else a collection as "download -o -" writes
// it. Removed with the object.
class StdinFile {
public:
    // False with the reason when standard input cannot be read or kept.
    bool Take(QIODevice* in, QString& problem);
    const QString& Path() const { return m_path; }

private:
    QTemporaryDir m_folder;
    QString m_path;
};

}  // namespace kr820::cli
