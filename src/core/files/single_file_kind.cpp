// SPDX-License-Identifier: MIT
#include "core/files/single_file_kind.h"

#include <QFileInfo>

namespace kr820::core {

SingleFileKind SingleFileKindOf(const QString& fileName) {
    const QString extension = QFileInfo(fileName).suffix().toLower();
    if (extension == QLatin1String("ghf")) return SingleFileKind::Graph;
    if (extension == QLatin1String("txt")) return SingleFileKind::TabText;
    if (extension == QLatin1String("csv")) return SingleFileKind::CommaText;
    return SingleFileKind::Unknown;
}

}  // namespace kr820::core
