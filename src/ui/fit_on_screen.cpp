// SPDX-License-Identifier: MIT
#include "ui/fit_on_screen.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>

namespace kr820::ui {
namespace {

// What a window manager adds around a dialog: a title bar and a frame.
constexpr int kTitleAndFrameHeight = 40;
constexpr int kFrameWidth = 16;

class FittingScrollArea : public QScrollArea {
public:
    FittingScrollArea(QWidget* parent, QSize reserve) : QScrollArea(parent), m_reserve(reserve) {
        setObjectName(QStringLiteral("scrollFields"));
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
    }

    // The fields' own size where the screen has room for it, otherwise the room, with a scroll
    // bar's width or height added where one is needed.
    QSize sizeHint() const override {
        const QSize wanted = widget() ? widget()->sizeHint() : QSize(0, 0);
        const QScreen* on = screen();
        if (!on) return wanted;
        const QSize room = on->availableGeometry().size() - m_reserve;
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        QSize fitted = wanted;
        if (fitted.height() > room.height()) {
            fitted.setHeight(std::max(room.height(), bar * 3));
            fitted.rwidth() += bar;
        }
        if (fitted.width() > room.width()) {
            fitted.setWidth(std::max(room.width(), bar * 3));
            fitted.setHeight(std::min(fitted.height() + bar, std::max(room.height(), bar * 3)));
        }
        return fitted;
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    QSize m_reserve;
};

// The dialog's foot: a button box, or a row of nothing but buttons and space.
bool IsButtonRow(QLayoutItem* item) {
    if (qobject_cast<QDialogButtonBox*>(item->widget())) return true;
    QLayout* row = item->layout();
    if (!row || row->count() == 0) return false;
    for (int i = 0; i < row->count(); ++i) {
        QLayoutItem* part = row->itemAt(i);
        if (!part->spacerItem() && !qobject_cast<QAbstractButton*>(part->widget())) return false;
    }
    return true;
}

}  // namespace

void ScrollWhenLargerThanScreen(QDialog& dialog) {
    auto* top = qobject_cast<QBoxLayout*>(dialog.layout());
    if (!top) return;
    auto* fields = new QBoxLayout(top->direction());
    fields->setContentsMargins(0, 0, 0, 0);
    fields->setSpacing(top->spacing());
    // The buttons stay below the scroll area, always in reach; the rest moves into it.
    QList<QLayoutItem*> kept;
    while (top->count() > 0) {
        const int stretch = top->stretch(0);
        const bool foot = top->count() == 1;
        QLayoutItem* item = top->takeAt(0);
        if (foot && IsButtonRow(item)) {
            kept << item;
        } else if (QLayout* nested = item->layout()) {
            nested->setParent(nullptr);  // owned by the new layout alone
            fields->addLayout(nested, stretch);
        } else {
            fields->addItem(item);
            fields->setStretch(fields->count() - 1, stretch);
        }
    }
    const QMargins margins = top->contentsMargins();
    int keptHeight = 0;
    for (QLayoutItem* item : kept) keptHeight += item->sizeHint().height() + top->spacing();
    const QSize reserve(margins.left() + margins.right() + kFrameWidth,
                        margins.top() + margins.bottom() + keptHeight + kTitleAndFrameHeight);

    auto* body = new QWidget;
    body->setObjectName(QStringLiteral("pnlFields"));
    body->setLayout(fields);  // takes the fields' widgets over
    auto* scroll = new FittingScrollArea(&dialog, reserve);
    scroll->setWidget(body);
    top->addWidget(scroll, 1);
    for (QLayoutItem* item : kept) top->addItem(item);
}

}  // namespace kr820::ui
