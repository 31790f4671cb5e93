// SPDX-License-Identifier: MIT
// The LCD window painted from live frames through the presenter, as the program feeds it: decode,
// steer the blink timers, paint.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <set>

#include "core/live/live_frame_parser.h"
#include "lcd/frm_lcd.h"
#include "lcd/lcd_digit_pictures.h"
#include "lcd/lcd_presenter.h"
#include "unit/live/live_frame_builder.h"

namespace kr820::lcd {
namespace {

using namespace test_support;

class LcdWindow : public ::testing::Test {
protected:
    LcdWindow() { m_presenter.AttachWindow(m_window); }
    ~LcdWindow() override { delete m_window; }

    void Feed(const LiveFrameFields& fields) {
        m_reading = core::ParseLiveFrame(test_support::LiveFrame(fields));
        m_presenter.ShowReading(m_reading);
    }
    // The timers' ticks, as the event loop would deliver them.
    void BlinkTick() { m_presenter.BlinkTimerTimer(); }
    void RecBlinkTick() { m_presenter.RecBlinkTimerTimer(); }
    bool Blinking() { return m_presenter.BlinkTimer().isActive(); }
    bool RecBlinking() { return m_presenter.RecBlinkTimer().isActive(); }

    // As the user closing it: the window deletes itself.
    void CloseWindow() {
        m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(m_window.isNull());
    }

    void ReopenWindow() {
        m_window = new TfrmLCD(nullptr);
        m_presenter.AttachWindow(m_window);
    }

    QLabel* Image(const QString& name) const {
        QLabel* image = m_window->findChild<QLabel*>(name);
        EXPECT_NE(image, nullptr) << name.toStdString();
        return image;
    }
    bool Shown(const char* name) const { return !Image(name)->isHidden(); }

    std::set<std::string> ShownIcons() const {
        std::set<std::string> names;
        for (QLabel* image : m_window->findChildren<QLabel*>())
            if (image->property("Tag").toInt() > 0 && !image->isHidden())
                names.insert(image->objectName().toStdString());
        return names;
    }

    // Digit codes the positions show, told apart by the shared pictures' cache keys.
    std::vector<int> Codes(const char* prefix, int count, const DigitPictures& pictures) const {
        std::vector<int> codes;
        for (int k = 1; k <= count; ++k) {
            const qint64 key = Image(QString("%1%2").arg(prefix).arg(k))->pixmap().cacheKey();
            int code = -1;
            for (int c = 0; c < kDigitPictureCount; ++c)
                if (pictures[c].cacheKey() == key) code = c;
            codes.push_back(code);
        }
        return codes;
    }
    std::vector<int> MainCodes() const { return Codes("MainD", 5, DigitBitmaps()); }
    std::vector<int> SubCodes() const { return Codes("SubD", 6, SubDigitBitmaps()); }

    core::LiveReading m_reading;  // the last one fed
    LcdPresenter m_presenter;
    QPointer<TfrmLCD> m_window = new TfrmLCD(nullptr);
};

constexpr int B = 11;  // blank
constexpr int D = 10;  // dash

TEST_F(LcdWindow, StartsWithBlankDigitsNoIconsAndNoNotice) {
    EXPECT_EQ(MainCodes(), (std::vector<int>{B, B, B, B, B}));
    EXPECT_EQ(SubCodes(), (std::vector<int>{B, B, B, B, B, B}));
    EXPECT_TRUE(ShownIcons().empty());
    EXPECT_TRUE(m_window->lblNoConnection()->isHidden());
}

TEST_F(LcdWindow, NoConnectionNoticeIsAboveEveryImage) {
    Feed(Readings(-8888, -8888));
    EXPECT_EQ(m_window->lblNoConnection()->parent()->children().last(),
              m_window->lblNoConnection());
}

TEST_F(LcdWindow, PaintsAFrameIntoDigitsAndIcons) {
    Feed(Readings(253, -57, kA_AutoOff, kB_TypeJ | kB_RecSteady));
    EXPECT_EQ(MainCodes(), (std::vector<int>{B, B, 2, 5, 3}));
    EXPECT_EQ(SubCodes(), (std::vector<int>{D, B, B, B, 5, 7}));
    EXPECT_EQ(ShownIcons(),
              (std::set<std::string>{"imgAutoOff", "imgRec", "imgT1", "imgJ", "imgC", "imgMPoint4",
                                     "imgSubPoint2", "imgSubT2", "imgSubC"}));

    Feed(Readings(-50, 0));
    EXPECT_EQ(MainCodes(), (std::vector<int>{B, B, B, 5, 0}));
    EXPECT_EQ(SubCodes(), (std::vector<int>{B, B, B, B, 0, 0}));
    EXPECT_TRUE(Shown("imgT1Minus"));
    EXPECT_FALSE(Shown("imgRec"));
}

TEST_F(LcdWindow, RepaintsOnlyWhatChanged) {
    Feed(Readings(253, 200));
    // Marks the painter would wipe out if it touched these images again.
    Image("MainD3")->setPixmap(DigitBitmaps()[13]);
    Image("SubD4")->setPixmap(SubDigitBitmaps()[13]);
    Image("imgC")->hide();
    Image("imgAC")->show();

    Feed(Readings(253, 200));
    EXPECT_EQ(MainCodes(), (std::vector<int>{B, B, 13, 5, 3}));
    EXPECT_EQ(SubCodes(), (std::vector<int>{B, B, B, 13, 0, 0}));
    EXPECT_FALSE(Shown("imgC"));
    EXPECT_TRUE(Shown("imgAC"));

    Feed(Readings(254, 200));
    EXPECT_EQ(MainCodes(), (std::vector<int>{B, B, 13, 5, 4}));
    EXPECT_FALSE(Shown("imgC"));
}

TEST_F(LcdWindow, MaxAndMinBlinkInPhaseAndMaxStaysWhenTheModeSettles) {
    Feed(Readings(0, 0, 0, kB_ModeBlink));
    EXPECT_TRUE(Blinking());
    EXPECT_FALSE(Shown("imgMax"));
    for (bool expected : {true, false, true}) {
        BlinkTick();
        EXPECT_EQ(Shown("imgMax"), expected);
        EXPECT_EQ(Shown("imgMin"), expected);
    }
    // A frame still blinking must not fight the timer.
    Feed(Readings(0, 0, 0, kB_ModeBlink));
    EXPECT_TRUE(Shown("imgMax"));
    EXPECT_TRUE(Shown("imgMin"));

    Feed(Readings(0, 0, 0, kB_ModeMax));
    EXPECT_FALSE(Blinking());
    EXPECT_TRUE(Shown("imgMax"));
    EXPECT_FALSE(Shown("imgMin"));

    // Stopped while both were on, into normal mode: both go.
    Feed(Readings(0, 0, 0, kB_ModeBlink));
    BlinkTick();
    Feed(Readings(0, 0, 0, 0));
    EXPECT_FALSE(Shown("imgMax"));
    EXPECT_FALSE(Shown("imgMin"));
}

TEST_F(LcdWindow, RecBlinksThenStandsSteadyOrGoesOff) {
    Feed(Readings(0, 0, kA_RecBlink, 0));
    EXPECT_TRUE(RecBlinking());
    for (bool expected : {true, false}) {
        RecBlinkTick();
        EXPECT_EQ(Shown("imgRec"), expected);
    }
    Feed(Readings(0, 0, 0, kB_RecSteady));
    EXPECT_FALSE(RecBlinking());
    EXPECT_TRUE(Shown("imgRec"));
    EXPECT_TRUE(m_reading.MeterLogging());

    Feed(Readings(0, 0, kA_RecBlink, kB_RecSteady));
    RecBlinkTick();
    Feed(Readings(0, 0, 0, 0));
    EXPECT_FALSE(RecBlinking());
    EXPECT_FALSE(Shown("imgRec"));
}

TEST_F(LcdWindow, ReopenedWindowShowsTheLastPaintedStateAndBlinksOn) {
    LiveFrameFields f = Readings(253, -57, 0, kB_RecSteady);
    Feed(f);
    Feed(f.Status(0, kB_RecSteady | kB_ModeBlink));
    CloseWindow();

    // Frames and ticks while the window is closed: decoded, never painted.
    Feed(Readings(-999, 1, 0, kB_ModeBlink));
    BlinkTick();
    RecBlinkTick();
    EXPECT_TRUE(Blinking());
    EXPECT_EQ(m_presenter.State().MainDigits[5], 9);

    ReopenWindow();
    EXPECT_EQ(MainCodes(), (std::vector<int>{B, B, 2, 5, 3}));
    EXPECT_EQ(SubCodes(), (std::vector<int>{D, B, B, B, 5, 7}));
    EXPECT_EQ(ShownIcons(), (std::set<std::string>{"imgRec", "imgT1", "imgK", "imgC", "imgMPoint4",
                                                   "imgSubPoint2", "imgSubT2", "imgSubC"}));
    BlinkTick();
    EXPECT_TRUE(Shown("imgMax"));
    EXPECT_TRUE(Shown("imgMin"));

    Feed(Readings(-999, 1, 0, kB_ModeBlink));
    EXPECT_EQ(MainCodes(), (std::vector<int>{B, B, 9, 9, 9}));
    EXPECT_TRUE(Shown("imgT1Minus"));
    EXPECT_FALSE(Shown("imgRec"));
}

}  // namespace
}  // namespace kr820::lcd
