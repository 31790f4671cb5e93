// SPDX-License-Identifier: MIT
// The command line read without side effects: what is accepted, and a usage error for the rest.
#include "cli/cli_arguments.h"

#include <gtest/gtest.h>

#include "cli/command_table.h"

namespace kr820::cli {
namespace {

CliArguments Accepted(const QStringList& arguments) {
    const CliParse parsed = ParseCliArguments(arguments);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        ADD_FAILURE() << arguments.join(' ').toStdString() << ": " << error->message.toStdString();
        return {};
    }
    return std::get<CliArguments>(parsed);
}

QString Refusal(const QStringList& arguments) {
    const CliParse parsed = ParseCliArguments(arguments);
    const auto* error = std::get_if<UsageError>(&parsed);
    if (!error) {
        ADD_FAILURE() << arguments.join(' ').toStdString() << " was accepted";
        return {};
    }
    EXPECT_FALSE(error->usage.isEmpty());
    return error->message;
}

TEST(CliArguments, CommandsWithTheirOptions) {
    const CliArguments live = Accepted({"live", "--device", "/dev/ttyUSB0", "--count", "5",
                                        "--every", "60", "--format", "influx"});
    EXPECT_EQ(live.command, Command::Live);
    EXPECT_EQ(live.device, "/dev/ttyUSB0");
    EXPECT_EQ(live.count, 5);
    EXPECT_EQ(live.everySeconds, 60);
    EXPECT_EQ(live.format, core::RowFormat::Influx);

    const CliArguments download = Accepted({"download", "-o", "mem.820", "--force", "--recover"});
    EXPECT_EQ(download.command, Command::Download);
    EXPECT_EQ(download.output, "mem.820");
    EXPECT_TRUE(download.force && download.recover);

    const CliArguments exported = Accepted({"export", "mem.820", "--set", "3", "--format", "tsv"});
    EXPECT_EQ(exported.file, "mem.820");
    EXPECT_EQ(exported.set, 3);
    EXPECT_FALSE(exported.all);
    EXPECT_EQ(exported.format, core::RowFormat::Tsv);

    const CliArguments set =
        Accepted({"setup", "set", "record-interval=00:01:00", "alarm-lower=-5.5"});
    EXPECT_EQ(set.command, Command::SetupSet);
    EXPECT_EQ(set.assignments, (QStringList{"record-interval=00:01:00", "alarm-lower=-5.5"}));

    EXPECT_EQ(Accepted({"setup", "show", "--json"}).command, Command::SetupShow);
    EXPECT_EQ(Accepted({"clock", "sync"}).command, Command::ClockSync);
    EXPECT_TRUE(Accepted({"erase", "--yes"}).yes);
    EXPECT_TRUE(Accepted({"ports", "--probe"}).probe);
}

TEST(CliArguments, HelpIsTheCommandsOwn) {
    const CliArguments help = Accepted({"download", "--help"});
    EXPECT_EQ(help.command, Command::Help);
    EXPECT_TRUE(help.helpText.contains("--recover"));
    // The exit codes a script tests are documented where it looks.
    EXPECT_TRUE(help.helpText.contains("6  the meter did not answer the memory header request"));
    EXPECT_TRUE(Accepted({"--help"}).helpText.contains("Exit codes:"));
    EXPECT_EQ(Accepted({"help"}).helpText, Accepted({"--help"}).helpText);
    EXPECT_TRUE(Refusal({"help", "frobnicate"}).contains("unknown command 'frobnicate'"));
}

TEST(CliArguments, MistakesAreRefusedWithALine) {
    EXPECT_TRUE(Refusal({}).contains("no command"));
    EXPECT_TRUE(Refusal({"frobnicate"}).contains("unknown command"));
    EXPECT_TRUE(Refusal({"live", "--bogus"}).contains("bogus"));
    // Options of another command are unknown here.
    EXPECT_TRUE(Refusal({"export", "f.820", "--device", "x"}).contains("device"));
    EXPECT_TRUE(Refusal({"live", "--count", "0"}).contains("--count"));
    EXPECT_TRUE(Refusal({"live", "--count", "-3"}).contains("--count"));
    EXPECT_TRUE(Refusal({"live", "--count", "1e3"}).contains("--count"));
    EXPECT_TRUE(Refusal({"live", "--every", "0"}).contains("--every"));
    EXPECT_TRUE(Refusal({"live", "--every", "86401"}).contains("--every"));
    EXPECT_TRUE(Refusal({"live", "--format", "tsv"}).contains("--format"));
    EXPECT_TRUE(Refusal({"live", "--count"}).contains("count"));
    EXPECT_TRUE(Refusal({"live", "extra"}).contains("extra"));
    EXPECT_TRUE(Refusal({"download"}).contains("--output"));
    EXPECT_TRUE(Refusal({"export"}).contains("missing"));
    EXPECT_TRUE(Refusal({"export", "a.820", "b.820"}).contains("b.820"));
    EXPECT_TRUE(Refusal({"export", "a.820", "--all", "--set", "2"}).contains("--all"));
    EXPECT_TRUE(Refusal({"export", "a.820", "--set", "0"}).contains("--set"));
    EXPECT_TRUE(Refusal({"export", "a.820", "--format", "influx"}).contains("--format"));
    EXPECT_TRUE(Refusal({"setup"}).contains("show or set"));
    EXPECT_TRUE(Refusal({"setup", "set"}).contains("missing"));
    EXPECT_TRUE(Refusal({"setup", "set", "=5"}).contains("NAME=VALUE"));
    EXPECT_TRUE(Refusal({"setup", "set", "alarm"}).contains("NAME=VALUE"));
    EXPECT_TRUE(Refusal({"clock"}).contains("sync"));
    EXPECT_TRUE(Refusal({"erase"}).contains("--yes"));
    // An unset shell variable: no file is named.
    EXPECT_TRUE(Refusal({"sets", ""}).contains("empty"));
    EXPECT_TRUE(Refusal({"export", "", "--all"}).contains("empty"));
    // A network device written wrong is refused before anything is tried.
    EXPECT_TRUE(Refusal({"live", "--device", "tcp://lab-box"}).contains("tcp://HOST:PORT"));
    EXPECT_TRUE(Refusal({"serve", "--device", "rfc2217://lab-box:99999=oven"})
                    .contains("rfc2217://HOST:PORT"));
}

TEST(CliArguments, ConventionsOfEveryCommand) {
    EXPECT_EQ(Accepted({"--version"}).command, Command::Version);
    EXPECT_EQ(Accepted({"-V"}).command, Command::Version);
    EXPECT_EQ(Accepted({"setup", "show", "--version"}).command, Command::Version);
    EXPECT_EQ(Accepted({"export", "-V"}).command, Command::Version);  // before its operand

    EXPECT_EQ(Accepted({"ports"}).verbosity, 1);
    EXPECT_EQ(Accepted({"ports", "-q"}).verbosity, 0);
    EXPECT_EQ(Accepted({"sets", "a.820", "-v"}).verbosity, 2);
    EXPECT_EQ(Accepted({"live", "-vv"}).verbosity, 3);
    EXPECT_EQ(Accepted({"live", "-v", "--verbose"}).verbosity, 3);
    EXPECT_TRUE(Refusal({"live", "-q", "-v"}).contains("-q"));

    const CliArguments live =
        Accepted({"live", "-o", "night.csv", "--duration", "2h30m", "--time-format", "utc"});
    EXPECT_EQ(live.output, "night.csv");
    EXPECT_EQ(live.durationSeconds, 9000);
    EXPECT_EQ(live.timeFormat, core::TimeFormat::Utc);
    EXPECT_EQ(Accepted({"live", "--duration", "90"}).durationSeconds, 90);
    EXPECT_EQ(Accepted({"live", "--duration", "45m"}).durationSeconds, 2700);
    EXPECT_EQ(Accepted({"live", "--duration", "1d12h"}).durationSeconds, 129600);
    EXPECT_EQ(Accepted({"live", "--duration", "1h30s"}).durationSeconds, 3630);
    for (const char* bad : {"0", "2h30", "1.5h", "h", "-5", "367d", "99999999999"})
        EXPECT_TRUE(Refusal({"live", "--duration", bad}).contains(QString("'%1'").arg(bad))) << bad;

    EXPECT_EQ(Accepted({"sets", "-", "--time-format", "epoch"}).file, "-");
    EXPECT_EQ(Accepted({"export", "-", "--time-format", "iso"}).timeFormat, core::TimeFormat::Iso);
    EXPECT_TRUE(Refusal({"export", "a.820", "--time-format", "local"}).contains("'local'"));
    // Line protocol times are Unix nanoseconds whatever is asked.
    EXPECT_TRUE(
        Refusal({"live", "--format", "influx", "--time-format", "epoch"}).contains("influx"));
}

TEST(CliArguments, AUsageErrorIsOneLineAndWhereHelpIs) {
    const auto refused = [](const QStringList& arguments) {
        return std::get<UsageError>(ParseCliArguments(arguments));
    };
    EXPECT_EQ(refused({"live", "--bogus"}).message, "unknown option '--bogus'");
    EXPECT_EQ(refused({"live", "--bogus"}).usage, "Try 'kr820-cli live --help'.");
    EXPECT_EQ(refused({"live", "--count", "x"}).message,
              "invalid value 'x' for --count (allowed: a whole number from 1)");
    EXPECT_EQ(refused({"setup", "set", "--bogus"}).usage, "Try 'kr820-cli setup set --help'.");
    EXPECT_EQ(refused({"setup", "get"}).usage, "Try 'kr820-cli setup --help'.");
    EXPECT_EQ(refused({"frobnicate"}).usage, "Try 'kr820-cli --help'.");
    EXPECT_EQ(refused({"export", "a", "b"}).message, "unexpected argument 'b'");
    for (const QStringList& arguments :
         {QStringList{}, {"x"}, {"live", "-x"}, {"export"}, {"setup", "set", "a"}}) {
        const UsageError error = refused(arguments);
        EXPECT_FALSE(error.message.contains('\n'));
        EXPECT_TRUE(error.message[0].isLower() || error.message[0] == '-')
            << error.message.toStdString();
    }
}

// Parsing, --help and the overview all come from the command table: whatever it lists is
// accepted and described.
TEST(CliArguments, TheTableIsWhatIsParsedAndDescribed) {
    const QString overview = Accepted({"--help"}).helpText;
    for (const CommandRow& command : CommandTable()) {
        SCOPED_TRACE(command.name.toStdString());
        EXPECT_TRUE(overview.contains(command.brief));
        QStringList words = command.name.split(' ');
        const CliArguments help = Accepted(words + QStringList{"--help"});
        EXPECT_EQ(help.command, Command::Help);
        // "help live" is "live --help", and "help setup" the group's.
        EXPECT_EQ(Accepted(QStringList{"help"} + words).helpText, help.helpText);
        EXPECT_EQ(Accepted({"help", words.first()}).helpText,
                  Accepted({words.first(), "--help"}).helpText);
        for (const OptionRow& option : command.options)
            EXPECT_TRUE(help.helpText.contains("--" + option.LongName()))
                << option.LongName().toStdString();
        for (const OptionRow& option : CommonOptions())
            EXPECT_TRUE(help.helpText.contains(option.LongName()))
                << option.LongName().toStdString();
        ASSERT_TRUE(command.finish && command.run);
    }
}

}  // namespace
}  // namespace kr820::cli
