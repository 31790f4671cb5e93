// SPDX-License-Identifier: MIT
// What documents kr820-cli outside the program keeps up with its command table: the manual page
// names every command, option and exit code, and the bash completion offers exactly the
// table's options and values.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "cli/command_table.h"
#include "core/setup/setup_fields.h"

namespace kr820::cli {
namespace {

const QString kSource = QStringLiteral(KR820_FIXTURES "/../..");

QString ReadText(const QString& path) {
    QFile file(kSource + u'/' + path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

QString Typed(const QString& name) { return (name.size() == 1 ? "-" : "--") + name; }

// Every name of an option as it is typed, "-vv" as it is written.
QStringList TypedNames(const OptionRow& option) {
    QStringList names;
    for (const QString& name : option.names)
        names << (name == "vv" ? QStringLiteral("-vv") : Typed(name));
    return names;
}

TEST(CliDocuments, TheManualPageNamesEveryCommandOptionAndExitCode) {
    const QString page = ReadText("docs/man/kr820-cli.1.scd");
    for (const CommandRow& command : CommandTable()) {
        EXPECT_TRUE(page.contains("\n*" + command.name + "*")) << command.name.toStdString();
        for (const OptionRow& option : command.options)
            for (const QString& name : TypedNames(option))
                EXPECT_TRUE(page.contains("*" + name + "*"))
                    << command.name.toStdString() << " " << name.toStdString();
    }
    for (const OptionRow& option : CommonOptions())
        for (const QString& name : TypedNames(option))
            EXPECT_TRUE(page.contains("*" + name + "*")) << name.toStdString();
    const QString exitStatus = page.section("# EXIT STATUS", 1).section("\n# ", 0, 0);
    for (const ExitCodeText& code : ExitCodeTexts())
        EXPECT_TRUE(exitStatus.contains(QStringLiteral("\n*%1*\n").arg(code.code))) << code.code;
    for (const char* variable : {"KR820_PORTS", "QT_LOGGING_RULES", "LC_ALL", "TZ"})
        EXPECT_TRUE(page.section("# ENVIRONMENT", 1).contains(variable)) << variable;
}

// The completion's `"COMMAND") options="..."` lines and `"COMMAND --OPTION") words="..."` lines.
QString CompletionLine(const QString& script, const QString& key, const char* variable) {
    const QRegularExpression line(QStringLiteral("\"%1\"[^\\n]*\\) %2=\"([^\"]*)\"")
                                      .arg(QRegularExpression::escape(key), variable));
    return line.match(script).captured(1);
}

TEST(CliDocuments, TheCompletionOffersTheTablesOptionsAndValues) {
    const QString script = ReadText("packaging/completion/kr820-cli.bash");
    for (const CommandRow& command : CommandTable()) {
        SCOPED_TRACE(command.name.toStdString());
        QStringList expected;
        for (const OptionRow& option : command.options) expected << TypedNames(option);
        QStringList offered =
            CompletionLine(script, command.name, "options").split(' ', Qt::SkipEmptyParts);
        expected.sort();
        offered.sort();
        EXPECT_EQ(offered, expected);
        for (const OptionRow& option : command.options) {
            if (option.choices.isEmpty()) continue;
            const QString key = command.name + " --" + option.LongName();
            const QRegularExpression words(QStringLiteral("\"%1\"[^\\n]*\\) words=\"([^\"]*)\"")
                                               .arg(QRegularExpression::escape(key)));
            EXPECT_EQ(words.match(script).captured(1), option.choices.join(' '))
                << key.toStdString();
        }
    }
    QStringList common;
    for (const OptionRow& option : CommonOptions()) common << TypedNames(option);
    EXPECT_TRUE(script.contains("local common=\"" + common.join(' ') + "\""));
    QStringList fields;
    for (const QString& name : core::SetupFieldNames())
        if (core::IsWritableSetupField(name)) fields << name + "=";
    EXPECT_TRUE(script.contains(fields.join(' '))) << fields.join(' ').toStdString();
}

// The script as bash runs it: what Tab offers after a few command lines.
QStringList Completed(const QString& line) {
    QProcess bash;
    const QString script = kSource + "/packaging/completion/kr820-cli.bash";
    bash.start("bash",
               {"--norc", "-c",
                QStringLiteral("source '%1'; COMP_WORDS=(%2); COMP_CWORD=$((${#COMP_WORDS[@]}-1)); "
                               "_kr820_cli; printf '%s\\n' \"${COMPREPLY[@]}\"")
                    .arg(script, line)});
    if (!bash.waitForFinished(10000)) return {"bash did not finish"};
    return QString::fromUtf8(bash.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

TEST(CliDocuments, BashCompletesCommandsOptionsAndValues) {
    EXPECT_EQ(Completed("kr820-cli ex"), QStringList{"export"});
    EXPECT_EQ(Completed("kr820-cli setup s"), (QStringList{"show", "set"}));
    EXPECT_EQ(Completed("kr820-cli live --du"), QStringList{"--duration"});
    EXPECT_EQ(Completed("kr820-cli export f.820 --format ''"),
              (QStringList{"csv", "tsv", "jsonl"}));
    EXPECT_EQ(Completed("kr820-cli sets - --time-format e"), QStringList{"epoch"});
    EXPECT_EQ(Completed("kr820-cli setup set alarm-u"), QStringList{"alarm-upper="});
    EXPECT_EQ(Completed("kr820-cli erase --v"), (QStringList{"--version", "--verbose"}));
    EXPECT_EQ(Completed("kr820-cli he"), QStringList{"help"});
    EXPECT_EQ(Completed("kr820-cli help li"), QStringList{"live"});
}

TEST(CliDocuments, TheReadmeNamesTheSetsColumnsAsTheProgramDoes) {
    const QString readme = ReadText("README.md");
    EXPECT_TRUE(readme.contains("set,start,utc_offset,interval,samples,type,unit"));
    EXPECT_TRUE(readme.contains("valid=false"));
}

}  // namespace
}  // namespace kr820::cli
