// SPDX-License-Identifier: MIT
// The list of a file's data sets, as `kr820-cli sets` prints it: what a file may carry in its
// texts is quoted and escaped, never passed through.
#include "core/files/set_list_rows.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace kr820::core {
namespace {

std::vector<ExportedSet> Sets() {
    ExportedSet dated;
    dated.Start = UtcSeconds{1716000000};  // 2024-05-18T02:40:00Z
    dated.RateSeconds = 60;
    dated.Count = 3;
    dated.Type = QStringLiteral("K");
    dated.Unit = QStringLiteral("C");
    ExportedSet odd;
    odd.Count = 0;
    odd.Type = QStringLiteral("J\",\"x\\");
    odd.Unit = QStringLiteral("a,b");
    return {dated, odd};
}

TEST(SetListText, JsonLinesAreValidJsonWhateverTheTextsHold) {
    const QList<QByteArray> lines = SetListText(Sets(), true).split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].isEmpty());
    const QJsonObject first = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(first.value("set").toInt(), 1);
    EXPECT_EQ(first.value("interval").toInt(), 60);
    EXPECT_EQ(first.value("samples").toInt(), 3);
    EXPECT_TRUE(first.value("start").toString().startsWith("2024-05-1"));
    QJsonParseError error;
    const QJsonObject second = QJsonDocument::fromJson(lines[1], &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << lines[1].constData();
    EXPECT_TRUE(second.value("start").isNull());
    EXPECT_EQ(second.value("type").toString(), "J\",\"x\\");
    EXPECT_EQ(second.value("unit").toString(), "a,b");
}

TEST(SetListText, CsvQuotesWhatWouldBreakItsColumns) {
    const QList<QByteArray> lines = SetListText(Sets(), false).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "set,start,utc_offset,interval,samples,type,unit\r");
    EXPECT_TRUE(lines[1].endsWith(",60,3,K,C\r"));
    EXPECT_EQ(lines[2], "2,,,0,0,\"J\"\",\"\"x\\\",\"a,b\"\r");
}

}  // namespace
}  // namespace kr820::core
