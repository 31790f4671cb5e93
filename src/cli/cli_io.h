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
    bool outFailed = false;                      // a write on `out` failed and was told
    QIODevice* in = nullptr;                     // standard input, for "-" as an input file
    QString outName = QStringLiteral("stdout");  // for the failure line
    int verbosity = 1;                           // CliArguments::verbosity: 0 says errors only
};

// The output name that stands for standard output.
inline const QString kStdoutName = QStringLiteral("-");

// One line on stderr, after the program's name: what went wrong. Plain ASCII where the language
// settings do not take UTF-8 (LC_ALL=C).
void Say(CliIo& io, const QString& line);
// The same for what was done or what is waited for, which -q leaves out.
inline void Tell(CliIo& io, const QString& line) {
    if (io.verbosity > 0) Say(io, line);
}
// `text` as the terminal's character set takes it: under a language without UTF-8, what is not
// ASCII is written as ASCII ("->" for an arrow, "?" for the rest).
QString ForTerminal(const QString& text);

// Writes all of `bytes` on `out`; a failure is told once on stderr with its reason, and every
// command then ends with ExitCode::Failed (a script must not take cut output for complete).
bool WriteOut(CliIo& io, QByteArrayView bytes);
// The same line for a failure found after the last write, when stdout is closed.
void SayOutFailed(CliIo& io);

}  // namespace kr820::cli
