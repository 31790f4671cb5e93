// SPDX-License-Identifier: MIT
// Alarm marks in the real-time journal: read back between the points, a long text cut at a
// character, a torn mark the damaged end, and a point record may not pass for a long one.
#include <gtest/gtest.h>

#include "core/realtime/real_time_journal.h"

namespace kr820::core {
namespace {

constexpr TDateTime kStart = 45000.5;

QByteArray JournalWith(const std::vector<QByteArray>& records) {
    QByteArray bytes = JournalMagic() + EncodeJournalStart({kStart, 0, 10});
    for (const QByteArray& record : records) bytes += record;
    return bytes;
}

TEST(RealTimeJournalMarks, MarksComeBackBetweenThePointsWithTheirTexts) {
    const RealTimeJournalMark raised{kStart + 0.001, 35.0,
                                     QStringLiteral("T1 high alarm raised: 35.0 \u00B0C")};
    const QByteArray bytes =
        JournalWith({EncodeJournalPoint({kStart, {}}), EncodeJournalMark(raised),
                     EncodeJournalPoint({kStart + 0.002, {}}), EncodeJournalStop(kStart + 0.003)});
    const std::optional<RealTimeJournal> journal = DecodeJournal(bytes);
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->Points.size(), 2u);
    ASSERT_EQ(journal->Marks.size(), 1u);
    EXPECT_EQ(journal->Marks[0], raised);
    EXPECT_FALSE(journal->DamagedEnd);
}

TEST(RealTimeJournalMarks, LongTextsAreCutAtACharacterAndTornMarksAreDamage) {
    const QString degrees = QString(300, QChar(0x00B0));  // two bytes each
    const std::optional<RealTimeJournal> cut =
        DecodeJournal(JournalWith({EncodeJournalMark({kStart, 0, degrees})}));
    ASSERT_TRUE(cut);
    ASSERT_EQ(cut->Marks.size(), 1u);
    EXPECT_EQ(cut->Marks[0].Text, QString(kMaxMarkTextBytes / 2, QChar(0x00B0)));

    QByteArray torn = JournalWith({EncodeJournalPoint({kStart, {}}),
                                   EncodeJournalMark({kStart, 1.0, QStringLiteral("cleared")})});
    torn.chop(3);
    const std::optional<RealTimeJournal> damaged = DecodeJournal(torn);
    ASSERT_TRUE(damaged);
    EXPECT_EQ(damaged->Points.size(), 1u);
    EXPECT_TRUE(damaged->Marks.empty());
    EXPECT_TRUE(damaged->DamagedEnd);
}

}  // namespace
}  // namespace kr820::core
