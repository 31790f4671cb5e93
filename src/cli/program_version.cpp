// SPDX-License-Identifier: MIT
#include "cli/program_version.h"

#include <QtGlobal>

namespace kr820::cli {

QString ProgramVersion() { return QStringLiteral(KR820_VERSION); }

QString ProgramRevision() { return QStringLiteral(KR820_REVISION); }

QString VersionText() {
    QString text = QStringLiteral("kr820-cli %1\n").arg(ProgramVersion());
    const QString revision = ProgramRevision();
    if (!revision.isEmpty()) text += QStringLiteral("revision %1\n").arg(revision);
    const QString runtime = QString::fromLatin1(qVersion());
    text += QStringLiteral("Qt %1").arg(runtime);
    if (runtime != QStringLiteral(QT_VERSION_STR))
        text += QStringLiteral(" (built with %1)").arg(QStringLiteral(QT_VERSION_STR));
    return text + u'\n';
}

}  // namespace kr820::cli
