// SPDX-License-Identifier: MIT
#include "app/application.h"

#include <QIcon>
#include <QMessageBox>

#include "app/version.h"
#include "link/com_error.h"
#include "link/link_log.h"

// Resources compiled into a static library are registered by name, outside any namespace.
static void RegisterResources() { Q_INIT_RESOURCE(kr820); }

namespace kr820::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("KR820");
    setOrganizationName("KR820");
    setApplicationVersion(KR820_VERSION_TEXT);
    // Every window of the program carries the meter's picture.
    RegisterResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/kr820/kr820-48.png"));
    icon.addFile(QStringLiteral(":/kr820/kr820-256.png"));
    setWindowIcon(icon);
    setDesktopFileName(QStringLiteral("kr820"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const link::EAbort& abandoned) {
        qCWarning(link::lcLink).noquote()
            << "a port operation was abandoned:" << abandoned.Reason();
    } catch (const std::exception& failure) {
        QMessageBox::critical(activeWindow(), applicationName(), QString::fromUtf8(failure.what()));
    }
    return false;
}

}  // namespace kr820::app
