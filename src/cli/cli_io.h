// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QString>

namespace kr820::cli {

// Where a command writes: data on `out`, everything said to the user on `err`. Both unbuffered
// in the program, so a line is out as soon as it is written.
struct CliIo {
    QIODevice& out;
    QIODevice& err;
    bool errIsTerminal = false;  // progress draws a bar instead of printing lines
    // `out` appends to a file that already holds lines (">>" of an earlier run): a header row
    // would land in the middle of the data.
    bool outContinuesFile = false;
    bool outFailed = false;  // a write on `out` failed and was told
};

// The output name that stands for standard output.
inline const QString kStdoutName = QStringLiteral("-");

// One line on stderr, after the program's name.
inline void Say(CliIo& io, const QString& line) {
    io.err.write(QStringLiteral("kr820-cli: %1\n").arg(line).toUtf8());
}

// Writes all of `bytes` on `out`; a failure is told once on stderr with its reason, and every
// command then ends with ExitCode::Failed (a script must not take cut output for complete).
bool WriteOut(CliIo& io, QByteArrayView bytes);
// The same line for a failure found after the last write, when stdout is closed.
void SayOutFailed(CliIo& io);

}  // namespace kr820::cli
