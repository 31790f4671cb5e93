// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>

namespace kr820::app {

// The program's application object. An exception that escapes an event handler ends that
// handler only: a silent abort shows nothing, any other failure is shown in a message box, and
// the program goes on.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace kr820::app
