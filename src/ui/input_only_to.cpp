// SPDX-License-Identifier: MIT
#include "ui/input_only_to.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace kr820::ui {
namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
    }
}

class InputFilter : public QObject {
public:
    explicit InputFilter(QWidget* window) : m_window(window) {}

    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!IsUserInput(event->type())) return false;
        if (!m_window) return true;
        if (auto* widget = qobject_cast<QWidget*>(receiver))
            return widget != m_window && !m_window->isAncestorOf(widget);
        if (auto* window = qobject_cast<QWindow*>(receiver))
            return window != m_window->windowHandle();
        return true;
    }

private:
    QPointer<QWidget> m_window;
};

}  // namespace

void ProcessEventsWithInputOnlyTo(QWidget* window) {
    InputFilter filter(window);
    QCoreApplication::instance()->installEventFilter(&filter);
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&filter);
}

}  // namespace kr820::ui
