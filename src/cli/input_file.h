// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QTemporaryDir>

#include "cli/stop_signals.h"

namespace kr820::cli {

// The input name that stands for standard input.
inline const QString kStdinName = QStringLiteral("-");

// The extension that says what bytes are, the file's own (lower case, may be empty) kept where
// the bytes agree with it: a recording store ("kr8db", an SQLite database), a graph file ("ghf",
// its length first), a collection ("820", binary), or text ("txt" with tabs in its first line,
// else "csv"). `start` is the file's beginning, `size` its whole length.
QString SuffixOfContent(const QString& extension, QByteArrayView start, qint64 size);

// A file to read, as the readers take it: under a name whose extension says what its bytes are.
// Standard input ("-") is kept in a temporary file; a named file whose extension is missing or
// disagrees with its bytes ("download -o mem", a collection saved as "mem.csv") is reached
// through a link in a temporary folder. Removed with the object.
class InputFile {
public:
    // False with the reason when standard input cannot be read or kept, or when a stop came
    // while it was waited for (Stopped() then says so).
    bool Open(const QString& name, QIODevice* in, QString& problem, const Stopping& stopping = {});
    bool Stopped() const { return m_stopped; }
    // The path to read.
    const QString& Path() const { return m_path; }
    bool IsStore() const { return m_suffix == QStringLiteral("kr8db"); }

private:
    bool TakeStdin(QIODevice* in, QString& problem, const Stopping& stopping);

    QTemporaryDir m_folder;
    QString m_path;
    QString m_suffix;
    bool m_stopped = false;
};

}  // namespace kr820::cli
