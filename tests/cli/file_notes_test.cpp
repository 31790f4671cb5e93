// SPDX-License-Identifier: MIT
// What "sets" and "export" say on stderr about a file they read all the same: a set whose start
// date did not decode counts from the time of reading, and a script must hear which and from when.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "cli/cli_arguments.h"
#include "cli/file_commands.h"
#include "logger_memory_builder.h"

namespace kr820::cli {
namespace {

struct Ran {
    ExitCode code = ExitCode::Success;
    QString out;
    QString err;
};

Ran RunFileCommand(const QStringList& arguments) {
    const CliParse parsed = ParseCliArguments(arguments);
    EXPECT_TRUE(std::holds_alternative<CliArguments>(parsed));
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::ReadWrite);
    err.open(QIODevice::ReadWrite);
    CliIo io{out, err};
    const CliArguments& args = std::get<CliArguments>(parsed);
    const auto formats = core::RegionalFormats::FromLocale(QLocale::c());
    const ExitCode code =
        args.command == Command::Sets ? RunSets(args, formats, io) : RunExport(args, formats, io);
    return {code, QString::fromUtf8(out.data()), QString::fromUtf8(err.data())};
}

TEST(FileNotes, ASetWithoutAValidStartDateIsNamedWithTheTimeUsed) {
    emulator::DataSet dated;
    dated.start = {2024, 3, 14, 9, 30, 0};
    dated.pairs.assign(3, {200, 210});
    emulator::DataSet undated = dated;
    undated.start = {2024, 2, 31, 10, 0, 0};  // 31 February
    QTemporaryDir folder;
    const QString path = folder.filePath("two.820");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(emulator::BuildMemoryImage({dated, undated})));
    file.close();

    const QString today = QDate::currentDate().toString(Qt::ISODate);
    for (const QStringList& command :
         {QStringList{"sets", path}, QStringList{"export", path, "--set", "1"}}) {
        SCOPED_TRACE(command.first().toStdString());
        const Ran ran = RunFileCommand(command);
        EXPECT_EQ(ran.code, ExitCode::Success);
        const QStringList lines = ran.err.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1) << ran.err.toStdString();
        EXPECT_TRUE(lines[0].contains(path + ": data set 2 ")) << lines[0].toStdString();
        EXPECT_TRUE(lines[0].contains(today + 'T')) << lines[0].toStdString();
    }

    // A file whose dates all decode says nothing.
    const QString fine = folder.filePath("one.820");
    QFile one(fine);
    ASSERT_TRUE(one.open(QIODevice::WriteOnly));
    one.write(QByteArray::fromStdString(emulator::BuildMemoryImage({dated})));
    one.close();
    EXPECT_TRUE(RunFileCommand({"sets", fine}).err.isEmpty());
}

}  // namespace
}  // namespace kr820::cli
