// SPDX-License-Identifier: MIT
// serve's configuration file: one option a line as on the command line, read where --config
// stands, and a bad line refused with its number and exit code 2 before anything starts.
#include "cli/serve_config_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli/cli_arguments.h"
#include "cli_child.h"

namespace kr820::cli {
namespace {

std::span<const OptionRow> ServeOptionRows() { return FindCommand(Command::Serve)->options; }

QStringList Words(const QString& text, const QString& folder = "/etc/kr820") {
    auto words = ConfigFileWords(text, folder, ServeOptionRows());
    if (const QString* problem = std::get_if<QString>(&words)) {
        ADD_FAILURE() << problem->toStdString();
        return {};
    }
    return std::get<QStringList>(words);
}

QString Problem(const QString& text) {
    auto words = ConfigFileWords(text, "/etc/kr820", ServeOptionRows());
    if (const QString* problem = std::get_if<QString>(&words)) return *problem;
    ADD_FAILURE() << "accepted: " << std::get<QStringList>(words).join(' ').toStdString();
    return {};
}

TEST(ServeConfigFile, EachLineIsAnOptionAsOnTheCommandLine) {
    const QString text =
        "# two ovens\n"
        "\n"
        "device /dev/serial/by-id/usb-KR820-if00-port0=oven room\n"
        "  --device=/dev/ttyUSB1=bath   \n"
        "\tmqtt = mqtts://broker.lab\r\n"
        "  # an indented comment\n"
        "mqtt-user lab pi\n"
        "on-alarm /usr/local/bin/notify --to \"lab team\" # not a comment\n"
        "alarm t1<-5\n"
        "-vv\n"
        "metrics=127.0.0.1:9820";
    EXPECT_EQ(
        Words(text),
        (QStringList{"--device", "/dev/serial/by-id/usb-KR820-if00-port0=oven room", "--device",
                     "/dev/ttyUSB1=bath", "--mqtt", "mqtts://broker.lab", "--mqtt-user", "lab pi",
                     "--on-alarm", "/usr/local/bin/notify --to \"lab team\" # not a comment",
                     "--alarm", "t1<-5", "--vv", "--metrics", "127.0.0.1:9820"}));
    EXPECT_EQ(Words(""), QStringList());
    EXPECT_EQ(Words("# nothing but a comment\n\n"), QStringList());
}

TEST(ServeConfigFile, ARelativeFileIsTakenFromTheFilesFolder) {
    EXPECT_EQ(
        Words("mqtt-password-file mqtt-password\nmqtt-ca ../ca/broker.pem\n",
              "/run/credentials/kr820-serve.service"),
        (QStringList{"--mqtt-password-file", "/run/credentials/kr820-serve.service/mqtt-password",
                     "--mqtt-ca", "/run/credentials/ca/broker.pem"}));
    EXPECT_EQ(Words("mqtt-ca /etc/ssl/lab.pem"), (QStringList{"--mqtt-ca", "/etc/ssl/lab.pem"}));
    // A command is no file: it runs where the service runs.
    EXPECT_EQ(Words("on-alarm bin/notify"), (QStringList{"--on-alarm", "bin/notify"}));
}

TEST(ServeConfigFile, ABadLineIsNamedByItsNumber) {
    EXPECT_EQ(Problem("# comment\n\nmetrics 9820\nmqtt-usr lab\n"),
              "line 4: unknown option '--mqtt-usr'");
    EXPECT_EQ(Problem("device\n"), "line 1: --device needs a value (PATH[=NAME])");
    EXPECT_EQ(Problem("metrics 9820\ndevice =  \n"),
              "line 2: --device needs a value (PATH[=NAME])");
    EXPECT_EQ(Problem("quiet yes\n"), "line 1: --quiet takes no value");
    EXPECT_EQ(Problem("config /etc/kr820/other.conf\n"),
              "line 1: --config cannot be given in a configuration file");
    EXPECT_EQ(Problem("--help\n"), "line 1: --help cannot be given in a configuration file");
    EXPECT_EQ(Problem("= 9820\n"), "line 1: no option name");
    // A live option is no serve option.
    EXPECT_EQ(Problem("count 5\n"), "line 1: unknown option '--count'");
    // The file's old form: one environment variable with every option.
    EXPECT_TRUE(Problem("KR820_SERVE_OPTIONS=--metrics 9820\n")
                    .startsWith("line 1: 'KR820_SERVE_OPTIONS' is an environment variable"));
}

class ServeConfigCommandLine : public ::testing::Test {
protected:
    QString Write(const QByteArray& text) {
        const QString path = folder.filePath("serve.conf");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return path;
    }
    CliParse Parse(const QStringList& arguments) { return ParseCliArguments(arguments); }
    QTemporaryDir folder;
};

TEST_F(ServeConfigCommandLine, TheFileStandsWhereItIsNamedAndLaterOptionsWin) {
    const QString path = Write(
        "device /dev/ttyUSB0=oven room\n"
        "metrics 9820\n"
        "mqtt mqtt://broker.lab\n"
        "mqtt-user lab\n"
        "mqtt-password-file password\n"
        "alarm t1>250\n"
        "on-alarm logger -t kr820 \"$KR820_METER: $KR820_ALARM\"\n");
    const CliParse parsed = Parse({"serve", "--metrics", "1", "--config", path, "--device",
                                   "/dev/ttyUSB1", "--metrics=9999"});
    ASSERT_TRUE(std::holds_alternative<CliArguments>(parsed))
        << std::get<UsageError>(parsed).message.toStdString();
    const CliArguments& serve = std::get<CliArguments>(parsed);
    EXPECT_EQ(serve.command, Command::Serve);
    ASSERT_EQ(serve.serve.devices.size(), 2u);
    EXPECT_EQ(serve.serve.devices[0].path, "/dev/ttyUSB0");
    EXPECT_EQ(serve.serve.devices[0].name, "oven room");
    EXPECT_EQ(serve.serve.devices[1].path, "/dev/ttyUSB1");
    EXPECT_EQ(serve.serve.metrics, "9999");
    EXPECT_EQ(serve.serve.mqttPasswordFile, folder.filePath("password"));
    EXPECT_EQ(serve.alarms.onAlarm, "logger -t kr820 \"$KR820_METER: $KR820_ALARM\"");

    const CliParse before = Parse({"serve", "--metrics", "1", "--config=" + path});
    ASSERT_TRUE(std::holds_alternative<CliArguments>(before));
    EXPECT_EQ(std::get<CliArguments>(before).serve.metrics, "9820") << "the file comes later";
}

TEST_F(ServeConfigCommandLine, OnlyServeReadsOneAndAnOptionsValueIsNeverOne) {
    const QString path = Write("metrics 9820\n");
    const CliParse live = Parse({"live", "--config", path});
    ASSERT_TRUE(std::holds_alternative<UsageError>(live));
    EXPECT_EQ(std::get<UsageError>(live).message, "unknown option '--config'");

    const CliParse hook =
        Parse({"serve", "--alarm", "t1>250", "--on-alarm", "--config", "--metrics", "9820"});
    ASSERT_TRUE(std::holds_alternative<CliArguments>(hook));
    EXPECT_EQ(std::get<CliArguments>(hook).alarms.onAlarm, "--config");
}

TEST_F(ServeConfigCommandLine, AFileThatCannotBeUsedIsAUsageError) {
    const QString missing = folder.filePath("missing.conf");
    const auto refusal = [&](const QStringList& arguments) {
        const CliParse parsed = Parse(arguments);
        EXPECT_TRUE(std::holds_alternative<UsageError>(parsed))
            << arguments.join(' ').toStdString();
        return std::holds_alternative<UsageError>(parsed) ? std::get<UsageError>(parsed).message
                                                          : QString();
    };
    EXPECT_TRUE(refusal({"serve", "--config", missing})
                    .startsWith("cannot read the configuration file '" + missing + "'"));
    EXPECT_EQ(refusal({"serve", "--config", ""}), "an empty --config names no file");
    EXPECT_EQ(refusal({"serve", "--config", Write("metrics 98\xff\n")}),
              "the configuration file '" + folder.filePath("serve.conf") + "' is not UTF-8 text");
    EXPECT_EQ(refusal({"serve", "--config", Write(QByteArray(2 * 1024 * 1024, '#'))}),
              "the configuration file '" + folder.filePath("serve.conf") +
                  "' is longer than 1048576 bytes");
}

TEST_F(ServeConfigCommandLine, TheProgramEndsWithExitCode2OnABadLine) {
    const QString path = Write("metrics 9820\n# the broker\nmqtt-usr lab\n");
    testing::CliChild serve;
    ASSERT_TRUE(serve.Run({"serve", "--config", path}));
    EXPECT_EQ(serve.ExitCode(), 2);
    EXPECT_TRUE(serve.Err().contains(
        (path + ", line 3: unknown option '--mqtt-usr'\nTry 'kr820-cli serve --help'.").toUtf8()))
        << serve.Err().toStdString();
}

QString SourceText(const QString& path) {
    QFile file(QStringLiteral(KR820_FIXTURES "/../../") + path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

TEST_F(ServeConfigCommandLine, ThePackagedFileAndTheDocumentedOnesAreWhatServeTakes) {
    const QString unit = SourceText("packaging/kr820-serve.service");
    EXPECT_TRUE(unit.contains("\nLoadCredential=serve.conf:/etc/kr820/serve.conf\n"));
    EXPECT_TRUE(unit.contains("\nLoadCredential=mqtt-password:/etc/kr820/mqtt-password\n"));
    EXPECT_TRUE(unit.contains(
        "\nExecStart=/usr/bin/kr820-cli serve --config ${CREDENTIALS_DIRECTORY}/serve.conf\n"));
    EXPECT_TRUE(unit.contains("\nRestartPreventExitStatus=2\n"));

    // The shipped file as it is, and with every example line ("#option ...") switched on.
    const QString shipped = SourceText("packaging/serve.conf");
    QString switchedOn = shipped;
    switchedOn.replace(QRegularExpression("(^|\n)#([a-z])"), "\\1\\2");
    EXPECT_NE(switchedOn, shipped);
    std::vector<std::pair<std::string, QString>> files = {{"serve.conf", shipped},
                                                          {"serve.conf, examples on", switchedOn}};
    // The README's and the worked set-up's ```conf blocks.
    static const QRegularExpression block("```conf\n(.*?)```",
                                          QRegularExpression::DotMatchesEverythingOption);
    for (const char* document : {"README.md", "docs/feeds.md"}) {
        int blocks = 0;
        for (auto match = block.globalMatch(SourceText(document)); match.hasNext(); ++blocks)
            files.emplace_back(document, match.next().captured(1));
        EXPECT_GT(blocks, 0) << document;
    }
    for (const auto& [name, text] : files) {
        const CliParse parsed = Parse({"serve", "--config", Write(text.toUtf8())});
        const auto* error = std::get_if<UsageError>(&parsed);
        EXPECT_EQ(error, nullptr) << name << ": " << (error ? error->message.toStdString() : "");
    }
}

}  // namespace
}  // namespace kr820::cli
