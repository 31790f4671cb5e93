// SPDX-License-Identifier: MIT
#include "cli/cli_io.h"

#include <langinfo.h>

#include <cstring>

namespace kr820::cli {

bool WriteOut(CliIo& io, QByteArrayView bytes) {
    if (io.outFailed) return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = io.out.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            SayOutFailed(io);
            return false;
        }
        done += static_cast<qsizetype>(written);
    }
    return true;
}

void SayOutFailed(CliIo& io) {
    io.outFailed = true;
    Say(io, QStringLiteral("writing to %1 failed: %2").arg(io.outName, io.out.errorString()));
}

void Say(CliIo& io, const QString& line) {
    io.err.write(ForTerminal(QStringLiteral("kr820-cli: %1\n").arg(line)).toUtf8());
}

QString ForTerminal(const QString& text) {
    // The application object has set the locale from the environment.
    static const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    if (utf8) return text;
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            plain += c;
        else if (c == QChar(0x2192))
            plain += QStringLiteral("->");
        else if (c == QChar(0x00B0))
            plain += QStringLiteral("deg");
        else
            plain += u'?';
    }
    return plain;
}

}  // namespace kr820::cli
