// SPDX-License-Identifier: MIT
#include "app/application.h"

#include <QMessageBox>

#include "app/version.h"
#include "link/com_error.h"

namespace kr820::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("KR820");
    setOrganizationName("KR820");
    setApplicationVersion(KR820_VERSION_TEXT);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const link::EAbort&) {
    } catch (const std::exception& failure) {
        QMessageBox::critical(activeWindow(), applicationName(), QString::fromUtf8(failure.what()));
    }
    return false;
}

}  // namespace kr820::app
