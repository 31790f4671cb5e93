// SPDX-License-Identifier: MIT
// Text that is no data of this program, opened as a data file: refused, with the line that gave
// it away, instead of a chart of points dated 30 December 1899.
#include <gtest/gtest.h>

#include <random>

#include "core/files/export_rows.h"
#include "core/files/text_file_reader.h"
#include "file_test_support.h"

namespace kr820::core {
namespace {

RegionalFormats UnitedStates() {
    return RegionalFormats::FromLocale(QLocale("en_US"), QDate(2026, 6, 15));
}

class TextFileRefusal : public testing::ScratchFolder {
protected:
    // Read both ways, as a ".txt" and as a ".csv": by Open and by the command line's export.
    void ExpectRefused(const QByteArray& bytes, const QString& named) {
        for (const char* name : {"data.txt", "data.csv"}) {
            SCOPED_TRACE(name);
            const QString path = PathOf(name);
            testing::WriteWhole(path, bytes);
            const auto separator =
                QString(name).endsWith("txt") ? TextSeparator::Tab : TextSeparator::Comma;
            const TextReadOutcome read = ReadTextFile(path, separator, UnitedStates());
            EXPECT_NE(read.Status, TextReadStatus::Read);
            EXPECT_NE(read.Status, TextReadStatus::CannotOpen);
            EXPECT_TRUE(read.Reason.contains(named)) << read.Reason.toStdString();
            const ExportOpenOutcome opened = OpenForExport(path, UnitedStates());
            EXPECT_NE(opened.Status, ExportOpenStatus::Opened);
            EXPECT_TRUE(opened.Sets.empty());
            EXPECT_TRUE(opened.Problem.contains(named)) << opened.Problem.toStdString();
        }
    }
};

TEST_F(TextFileRefusal, APasswordFileIsNoData) {
    ExpectRefused(
        "root:x:0:0:root:/root:/bin/bash\n"
        "daemon:x:1:1:daemon,,,:/usr/sbin:/usr/sbin/nologin\n"
        "bin:x:2:2:bin:/bin:/usr/sbin/nologin\n",
        "line 1, \"root:x:0:0:root:/root:/bin/bash\"");
}

TEST_F(TextFileRefusal, IsoDatesDoNotReadUnderMonthFirstSettings) {
    ExpectRefused(
        "2024-03-14\t09:30:00\t18.5\t18.4\r\n2024-03-14\t09:30:05\t18.6\t18.4\r\n"
        "2024-03-14,09:30:10,18.7,18.4\r\n",
        "line 1, \"2024-03-14");
}

TEST_F(TextFileRefusal, RandomBytesAreNoData) {
    std::mt19937 random(820);
    QByteArray bytes(256 * 1024, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    ExpectRefused(bytes, "line 1");
}

TEST_F(TextFileRefusal, AnEmptyFileOrAnEmptyFirstLineIsNoData) {
    ExpectRefused("", "empty");
    ExpectRefused("\r\n3/14/24\t9:30:00 AM\t18.5\t18.4\r\n", "line 1 is empty");
}

TEST_F(TextFileRefusal, OneLineThatReadsKeepsTheRulesForTheRest) {
    testing::WriteWhole(PathOf("mixed.txt"),
                        "3/14/24\t9:30:00 AM\t18.5\t18.4\r\nroot:x:0:0\r\n"
                        "3/14/24\t9:30:10 AM\tabc\t18.4\r\n");
    const TextReadOutcome read =
        ReadTextFile(PathOf("mixed.txt"), TextSeparator::Tab, UnitedStates());
    EXPECT_EQ(read.Status, TextReadStatus::Read);
    EXPECT_EQ(read.Content.T1, (std::vector{18.5f, 9999.0f}));
}

}  // namespace
}  // namespace kr820::core
