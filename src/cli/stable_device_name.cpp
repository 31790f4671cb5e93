// SPDX-License-Identifier: MIT
#include "cli/stable_device_name.h"

#include <QDir>
#include <QFileInfo>

namespace kr820::cli {

QString StableDevicePath(const QString& path, const QString& byIdFolder) {
    const QFileInfo device(path);
    const QString target = device.canonicalFilePath();
    if (target.isEmpty()) return {};
    const QString folder = QDir(byIdFolder).canonicalPath();
    if (!folder.isEmpty() && device.absoluteDir().canonicalPath() == folder && device.isSymLink())
        return device.absoluteFilePath();
    const QDir links(byIdFolder);
    // Sorted, so that an adapter with two links always gets the same one.
    for (const QFileInfo& link : links.entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
        if (link.isSymLink() && link.canonicalFilePath() == target) return link.absoluteFilePath();
    }
    return {};
}

QString StableDeviceName(const QString& path, const QString& byIdFolder) {
    const QString stable = StableDevicePath(path, byIdFolder);
    return stable.isEmpty() ? path : QFileInfo(stable).fileName();
}

}  // namespace kr820::cli
