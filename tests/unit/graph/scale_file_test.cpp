// SPDX-License-Identifier: MIT
#include "core/graph/scale_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace kr820::core {
namespace {

class ScaleFileTest : public ::testing::Test {
protected:
    ScaleBounds Read(const QByteArray& content) {
        QFile file(Path());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        return ReadScaleFile(Path());
    }
    QString Path() const { return folder.filePath("KR820.ini"); }

    QTemporaryDir folder;
};

TEST_F(ScaleFileTest, FourBoundsAfterTheHeadingInFileOrder) {
    EXPECT_EQ(Read("[SCALE]\n-5\n45\n0\n80\n"), (ScaleBounds{-5.0, 45.0, 0.0, 80.0}));
    // Whatever the first line says, it is the heading; blanks around a number do not matter.
    EXPECT_EQ(Read("12\r\n 1.5 \r\n2\r\n3\r\n4\r\n"), (ScaleBounds{1.5, 2.0, 3.0, 4.0}));
}

TEST_F(ScaleFileTest, ALineThatIsNoFiniteNumberLeavesItsBoundEmpty) {
    EXPECT_EQ(Read("anything\n-5\nabc\n 0 \nnan\n"),
              (ScaleBounds{-5.0, std::nullopt, 0.0, std::nullopt}));
    EXPECT_EQ(Read("[SCALE]\ninf\n\n-inf\n1e400\n"), ScaleBounds{});
}

TEST_F(ScaleFileTest, AShortFileLeavesTheLaterBoundsEmpty) {
    EXPECT_EQ(Read("[SCALE]\n10\n"), (ScaleBounds{10.0, std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(Read(""), ScaleBounds{});
}

TEST_F(ScaleFileTest, NoPathOrNoFileGivesNoBounds) {
    EXPECT_EQ(ReadScaleFile(QString()), ScaleBounds{});
    EXPECT_EQ(ReadScaleFile(Path()), ScaleBounds{});
}

TEST_F(ScaleFileTest, OnlyTheFirstEightyCharactersOfALineCount) {
    // The line buffer ends inside the number: 78 blanks, then "12" of "123".
    EXPECT_EQ(Read("[SCALE]\n" + QByteArray(78, ' ') + "123\n"),
              (ScaleBounds{12.0, std::nullopt, std::nullopt, std::nullopt}));
}

TEST_F(ScaleFileTest, NothingBeyondTheFirstSixtyFourKilobytesIsRead) {
    const QByteArray longHeading(64 * 1024 - 2, 'x');
    EXPECT_EQ(Read(longHeading + "\n5\n6\n7\n8\n"),
              (ScaleBounds{5.0, std::nullopt, std::nullopt, std::nullopt}));
}

}  // namespace
}  // namespace kr820::core
