// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

namespace kr820::app {

class TfrmMain;

// Held while one command runs an operation that owns the port or a window's data (the meter
// search, a port switch, a download, a file read or write). The menu and the tool bar are
// disabled meanwhile, and every command handler refuses to start while one is held, so that
// nothing reached through a wait that processes events can start a second operation.
class CommandLock {
public:
    explicit CommandLock(TfrmMain& main);
    ~CommandLock();
    CommandLock(const CommandLock&) = delete;
    CommandLock& operator=(const CommandLock&) = delete;

private:
    TfrmMain& m_main;
};

// Keeps a window open while its data is being written or read: its close events are refused
// for as long as this lives.
class CloseRefusal : public QObject {
public:
    explicit CloseRefusal(QObject* window);
    ~CloseRefusal() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> m_window;
};

}  // namespace kr820::app
