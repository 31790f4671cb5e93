// SPDX-License-Identifier: MIT
#include "cli/cli_io.h"

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
    Say(io, QStringLiteral("writing to stdout failed: %1").arg(io.out.errorString()));
}

}  // namespace kr820::cli
