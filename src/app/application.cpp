// SPDX-License-Identifier: MIT
#include "app/application.h"

#include <QMessageBox>

#include "app/version.h"
#include "link/com_error.h"
#include "link/link_log.h"

namespace kr820::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("KR820");
    setOrganizationName("KR820");
    setApplicationVersion(KR820_VERSION_TEXT);
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
