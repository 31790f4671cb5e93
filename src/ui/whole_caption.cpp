// SPDX-License-Identifier: MIT
#include "ui/whole_caption.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>
#include <QStyle>
#include <QWidget>

namespace kr820::ui {
namespace {

// The window's icon and the minimise, maximise and close buttons of the usual title bars, with
// their margins.
constexpr int kTitleBarExtras = 160;

// Owned by the window it widens; follows its caption.
class CaptionStrut : public QObject {
public:
    CaptionStrut(QWidget& window, QSpacerItem* strut)
        : QObject(&window), m_window(window), m_strut(strut) {
        window.installEventFilter(this);
        Update();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange) Update();
        return false;
    }

private:
    void Update() {
        m_strut->changeSize(WidthForCaption(m_window.windowTitle(), m_window), 0,
                            QSizePolicy::Minimum, QSizePolicy::Fixed);
        if (m_window.layout()) m_window.layout()->invalidate();
    }

    QWidget& m_window;
    QSpacerItem* m_strut;
};

}  // namespace

int WidthForCaption(const QString& caption, const QWidget& window) {
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    return title.horizontalAdvance(caption) + kTitleBarExtras +
           2 * window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
}

void KeepCaptionWhole(QWidget& window) {
    auto* strut = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
    if (auto* grid = qobject_cast<QGridLayout*>(window.layout())) {
        grid->addItem(strut, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
    } else if (auto* box = qobject_cast<QBoxLayout*>(window.layout())) {
        box->addSpacerItem(strut);
    } else {
        delete strut;
        window.setMinimumWidth(WidthForCaption(window.windowTitle(), window));
        return;
    }
    new CaptionStrut(window, strut);
}

}  // namespace kr820::ui
