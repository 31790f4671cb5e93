// SPDX-License-Identifier: MIT
#include "lcd/frm_lcd.h"

#include <QCloseEvent>
#include <QGraphicsOpacityEffect>
#include <QLabel>

#include "core/live/lcd_state.h"
#include "lcd/lcd_digit_pictures.h"
#include "lcd/lcd_icon_pictures.h"

namespace kr820::lcd {
namespace {

constexpr int kMainDigitLefts[kMainDigitCount] = {34, 74, 114, 155, 198};
constexpr int kMainDigitTop = 27;
constexpr QSize kMainDigitImageSize(33, 62);
constexpr int kSubDigitLefts[kSubDigitCount] = {134, 153, 175, 194, 216, 239};
constexpr int kSubDigitTop = 120;
constexpr QSize kSubDigitImageSize(18, 31);
constexpr qreal kDimmedOpacity = 0.3;

}  // namespace

TfrmLCD::TfrmLCD(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowStaysOnTopHint) {
    setObjectName("frmLCD");
    setWindowTitle("LCD");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientWidth, kClientHeight);

    m_panel = new QWidget(this);
    m_panel->setObjectName("Panel1");
    m_panel->setGeometry(0, 0, kClientWidth, kClientHeight);
    m_panel->setAutoFillBackground(true);
    QPalette grey = m_panel->palette();
    grey.setColor(QPalette::Window, QColor(0xE4, 0xE4, 0xE4));
    m_panel->setPalette(grey);
    m_readings = new QWidget(m_panel);
    m_readings->setObjectName("pnlReadings");
    m_readings->setGeometry(0, 0, kClientWidth, kClientHeight);
    m_readings->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The image lists are filled as the images are made, in the order the painter addresses
    // them: digits left to right, icons by their bit in the frame.
    const QPixmap& mainBlank = DigitBitmaps()[core::kDigitBlank];
    for (int k = 0; k < kMainDigitCount; ++k) {
        m_lists.MainDigitImages[k] = AddImage(
            QString("MainD%1").arg(k + 1),
            QRect(QPoint(kMainDigitLefts[k], kMainDigitTop), kMainDigitImageSize), mainBlank);
    }
    const QPixmap& subBlank = SubDigitBitmaps()[core::kDigitBlank];
    for (int k = 0; k < kSubDigitCount; ++k) {
        m_lists.SubDigitImages[k] =
            AddImage(QString("SubD%1").arg(k + 1),
                     QRect(QPoint(kSubDigitLefts[k], kSubDigitTop), kSubDigitImageSize), subBlank);
    }
    for (const core::LcdIconImage& icon : core::kLcdIconImages) {
        QLabel* image =
            AddImage(QString::fromLatin1(icon.name.data(), icon.name.size()),
                     QRect(icon.left, icon.top, icon.width, icon.height), IconPicture(icon.icon));
        image->setProperty("Tag", core::IconTag(icon.icon));  // the icon's bit + 1, as designed
        image->hide();
        m_lists.IconImages[static_cast<int>(icon.icon)] = image;
    }

    // The program's own alarms: a red word in the display's corner.
    m_lblAlarm = new QLabel(QStringLiteral("ALARM"), m_panel);
    m_lblAlarm->setObjectName("lblAlarm");
    // Small enough to leave the unit beside the main digits readable.
    QFont alarmFont("Arial");
    alarmFont.setBold(true);
    alarmFont.setPixelSize(12);
    m_lblAlarm->setFont(alarmFont);
    m_lblAlarm->hide();

    // Created after the images so that it is drawn over them.
    m_lblNoConnection = new QLabel("No Connection", m_panel);
    m_lblNoConnection->setObjectName("lblNoConnection");
    QFont font("Arial");
    font.setBold(true);
    font.setPixelSize(19);
    m_lblNoConnection->setFont(font);
    m_lblNoConnection->setStyleSheet("color: #ff0000; background: transparent;");
    m_lblNoConnection->adjustSize();
    m_lblNoConnection->move(0, 136);
    m_lblNoConnection->hide();
}

QLabel* TfrmLCD::AddImage(const QString& name, const QRect& place, const QPixmap& picture) {
    auto* image = new QLabel(m_readings);
    image->setObjectName(name);
    image->setGeometry(place);
    // Pictures are drawn from the top-left corner, as the meter's artwork is laid out; the
    // 34-pixel main digits lose their empty last column in the 33-pixel images.
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    image->setPixmap(picture);
    return image;
}

void TfrmLCD::ShowNoConnection(bool shown) {
    m_lblNoConnection->setVisible(shown);
    if (!shown) {
        m_readings->setGraphicsEffect(nullptr);
        return;
    }
    if (ReadingsDimmed()) return;
    auto* dim = new QGraphicsOpacityEffect(m_readings);
    dim->setOpacity(kDimmedOpacity);
    m_readings->setGraphicsEffect(dim);
}

bool TfrmLCD::ReadingsDimmed() const { return m_readings->graphicsEffect() != nullptr; }

void TfrmLCD::SetAlarmMark(AlarmMark mark, const QString& tip) {
    m_alarmMark = mark;
    m_lblAlarm->setToolTip(tip);
    if (mark == AlarmMark::None) {
        m_lblAlarm->hide();
        return;
    }
    const bool lasting = mark == AlarmMark::Lasting;
    m_lblAlarm->setText(lasting ? QStringLiteral("ALARM") : QStringLiteral("CLEARED"));
    // Grey once over: it asks for an acknowledgement, not for action.
    m_lblAlarm->setStyleSheet(lasting ? "color: #ffffff; background: #c00000; padding: 1px 4px;"
                                      : "color: #ffffff; background: #707070; padding: 1px 4px;");
    m_lblAlarm->adjustSize();
    m_lblAlarm->move(kClientWidth - m_lblAlarm->width() - 2, 2);
    m_lblAlarm->show();
}

void TfrmLCD::closeEvent(QCloseEvent* event) {
    if (m_waitUntilIdle) m_waitUntilIdle();
    event->accept();
}

}  // namespace kr820::lcd
