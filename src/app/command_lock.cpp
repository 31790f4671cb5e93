// SPDX-License-Identifier: MIT
#include "app/command_lock.h"

#include <QEvent>

#include "app/frm_main.h"

namespace kr820::app {

CommandLock::CommandLock(TfrmMain& main) : m_main(main) { m_main.LockCommands(true); }

CommandLock::~CommandLock() { m_main.LockCommands(false); }

CloseRefusal::CloseRefusal(QObject* window) : m_window(window) {
    if (m_window) m_window->installEventFilter(this);
}

CloseRefusal::~CloseRefusal() {
    if (m_window) m_window->removeEventFilter(this);
}

bool CloseRefusal::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return false;
}

}  // namespace kr820::app
