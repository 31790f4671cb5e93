// SPDX-License-Identifier: MIT
#include "cli/cli_arguments.h"

#include <QCommandLineParser>
#include <QLocale>
#include <algorithm>
#include <climits>
#include <optional>

#include "cli/usage_text.h"

namespace kr820::cli {
namespace {

// Longer than a day between two readings is no pacing anyone means, nor a wait for a meter.
constexpr int kLongestEverySeconds = 86400;

const QCommandLineOption kHelp(QStringList{QStringLiteral("h"), QStringLiteral("help")});
const QCommandLineOption kDevice(QStringLiteral("device"), {}, QStringLiteral("PATH"));
const QCommandLineOption kProbe(QStringLiteral("probe"));
const QCommandLineOption kCount(QStringLiteral("count"), {}, QStringLiteral("N"));
const QCommandLineOption kEvery(QStringLiteral("every"), {}, QStringLiteral("SECONDS"));
const QCommandLineOption kTimeout(QStringLiteral("timeout"), {}, QStringLiteral("SECONDS"));
const QCommandLineOption kFormat(QStringLiteral("format"), {}, QStringLiteral("FORMAT"));
const QCommandLineOption kOutput(QStringList{QStringLiteral("o"), QStringLiteral("output")}, {},
                                 QStringLiteral("FILE"));
const QCommandLineOption kForce(QStringLiteral("force"));
const QCommandLineOption kRecover(QStringLiteral("recover"));
const QCommandLineOption kJson(QStringLiteral("json"));
const QCommandLineOption kSet(QStringLiteral("set"), {}, QStringLiteral("N"));
const QCommandLineOption kAll(QStringLiteral("all"));
const QCommandLineOption kYes(QStringLiteral("yes"));
// The alarms of the reading commands (see alarm_options.h).
const QCommandLineOption kAlarm(QStringLiteral("alarm"), {}, QStringLiteral("RULE"));
const QCommandLineOption kHysteresis(QStringLiteral("hysteresis"), {}, QStringLiteral("DEGREES"));
const QCommandLineOption kHold(QStringLiteral("hold"), {}, QStringLiteral("SECONDS"));
const QCommandLineOption kOnAlarm(QStringLiteral("on-alarm"), {}, QStringLiteral("COMMAND"));
const QCommandLineOption kOnAlarmTimeout(QStringLiteral("on-alarm-timeout"), {},
                                         QStringLiteral("SECONDS"));
const QList<QCommandLineOption> kAlarmOptions = {kAlarm, kHysteresis, kHold, kOnAlarm,
                                                 kOnAlarmTimeout};

// A command's own parse: its options, its positional arguments, and where a mistake points.
class CommandParse {
public:
    CommandParse(Command command, const QList<QCommandLineOption>& options)
        : m_command(command), m_takesDevice(std::any_of(options.begin(), options.end(), [](const QCommandLineOption& o) {
              return o.names() == kDevice.names();
          })) {
        m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        m_parser.addOption(kHelp);
        m_parser.addOptions(options);
    }

    // False with the error kept when the options do not parse.
    bool Parse(const QStringList& arguments) {
        if (m_parser.parse(QStringList{QStringLiteral("kr820-cli")} + arguments)) return true;
        m_error = m_parser.errorText();
        return false;
    }
    bool Set(const QCommandLineOption& option) const { return m_parser.isSet(option); }
    QString Value(const QCommandLineOption& option) const { return m_parser.value(option); }
    QStringList Values(const QCommandLineOption& option) const { return m_parser.values(option); }
    QStringList Positional() const { return m_parser.positionalArguments(); }
    bool HelpAsked() const { return m_parser.isSet(kHelp); }
    const QString& Error() const { return m_error; }

    UsageError Refuse(const QString& message) const {
        return {message, CommandUsage(m_command)};
    }
    CliArguments Arguments() const {
        CliArguments arguments;
        arguments.command = m_command;
        // Asking a parser for an option it does not know makes it complain on stderr.
        if (m_takesDevice) arguments.device = Value(kDevice);
        return arguments;
    }

private:
    Command m_command;
    bool m_takesDevice;
    QCommandLineParser m_parser;
    QString m_error;
};

// A whole number from `lowest` to `highest`, written plainly.
std::optional<int> WholeNumber(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int value = QLocale::c().toInt(text, &ok);
    if (!ok || value < lowest || value > highest) return std::nullopt;
    return value;
}

std::optional<core::RowFormat> FormatNamed(const QString& name, bool forLive) {
    if (name == QStringLiteral("csv")) return core::RowFormat::Csv;
    if (name == QStringLiteral("jsonl")) return core::RowFormat::JsonLines;
    if (forLive && name == QStringLiteral("influx")) return core::RowFormat::Influx;
    if (!forLive && name == QStringLiteral("tsv")) return core::RowFormat::Tsv;
    return std::nullopt;
}

AlarmOptionTexts AlarmOptionsGiven(const CommandParse& parse) {
    // A null text for an option not given, so that an empty one given is told as such.
    const auto given = [&parse](const QCommandLineOption& option) {
        return parse.Set(option) ? parse.Value(option) : QString();
    };
    return {parse.Values(kAlarm), given(kHysteresis), given(kHold), given(kOnAlarm),
            given(kOnAlarmTimeout)};
}

CliParse Help(Command command) {
    CliArguments arguments;
    arguments.command = Command::Help;
    arguments.helpText = CommandUsage(command);
    return arguments;
}

// The parse of one command: unknown options, help, then the positional arguments it takes.
template <typename Finish>
CliParse ParseCommand(Command command, const QList<QCommandLineOption>& options,
                      const QStringList& rest, int positionalLow, int positionalHigh,
                      Finish finish) {
    CommandParse parse(command, options);
    if (!parse.Parse(rest)) return parse.Refuse(parse.Error());
    if (parse.HelpAsked()) return Help(command);
    const QStringList positional = parse.Positional();
    if (positional.size() < positionalLow)
        return parse.Refuse(QStringLiteral("missing argument"));
    if (positionalHigh >= 0 && positional.size() > positionalHigh)
        return parse.Refuse(QStringLiteral("unexpected argument \"%1\"").arg(positional.last()));
    // An empty word (a shell variable that was not set) names no file and no field.
    if (positional.contains(QString()))
        return parse.Refuse(QStringLiteral("an argument is empty"));
    return finish(parse, positional);
}

CliParse ParseLive(const QStringList& rest) {
    return ParseCommand(
        Command::Live,
        QList<QCommandLineOption>{kDevice, kCount, kEvery, kTimeout, kFormat} + kAlarmOptions, rest,
        0, 0, [](const CommandParse& parse, const QStringList&) -> CliParse {
            CliArguments arguments = parse.Arguments();
            if (parse.Set(kCount)) {
                const auto count = WholeNumber(parse.Value(kCount), 1, INT_MAX);
                if (!count)
                    return parse.Refuse(QStringLiteral("--count takes a whole number above 0"));
                arguments.count = *count;
            }
            if (parse.Set(kEvery)) {
                const auto every = WholeNumber(parse.Value(kEvery), 1, kLongestEverySeconds);
                if (!every)
                    return parse.Refuse(
                        QStringLiteral("--every takes whole seconds from 1 to %1")
                            .arg(kLongestEverySeconds));
                arguments.everySeconds = *every;
            }
            if (parse.Set(kTimeout)) {
                const auto timeout = WholeNumber(parse.Value(kTimeout), 1, kLongestEverySeconds);
                if (!timeout)
                    return parse.Refuse(
                        QStringLiteral("--timeout takes whole seconds from 1 to %1")
                            .arg(kLongestEverySeconds));
                arguments.timeoutSeconds = *timeout;
            }
            if (parse.Set(kFormat)) {
                const auto format = FormatNamed(parse.Value(kFormat), true);
                if (!format)
                    return parse.Refuse(QStringLiteral("--format takes csv, jsonl or influx"));
                arguments.format = *format;
            }
            auto alarms = ParseAlarmOptions(AlarmOptionsGiven(parse));
            if (const auto* problem = std::get_if<QString>(&alarms)) return parse.Refuse(*problem);
            arguments.alarms = std::get<AlarmOptions>(alarms);
            return arguments;
        });
}

CliParse ParseDownload(const QStringList& rest) {
    return ParseCommand(Command::Download, {kDevice, kOutput, kForce, kRecover}, rest, 0, 0,
                        [](const CommandParse& parse, const QStringList&) -> CliParse {
                            CliArguments arguments = parse.Arguments();
                            arguments.output = parse.Value(kOutput);
                            if (arguments.output.isEmpty())
                                return parse.Refuse(QStringLiteral("--output FILE is required"));
                            arguments.force = parse.Set(kForce);
                            arguments.recover = parse.Set(kRecover);
                            return arguments;
                        });
}

CliParse ParseSets(const QStringList& rest) {
    return ParseCommand(Command::Sets, {kJson, kRecover}, rest, 1, 1,
                        [](const CommandParse& parse, const QStringList& positional) -> CliParse {
                            CliArguments arguments = parse.Arguments();
                            arguments.file = positional.first();
                            arguments.json = parse.Set(kJson);
                            arguments.recover = parse.Set(kRecover);
                            return arguments;
                        });
}

CliParse ParseExport(const QStringList& rest) {
    return ParseCommand(
        Command::Export, {kSet, kAll, kFormat, kOutput, kForce, kRecover}, rest, 1, 1,
        [](const CommandParse& parse, const QStringList& positional) -> CliParse {
            CliArguments arguments = parse.Arguments();
            arguments.file = positional.first();
            arguments.all = parse.Set(kAll);
            if (parse.Set(kSet)) {
                if (arguments.all)
                    return parse.Refuse(QStringLiteral("--set and --all exclude each other"));
                const auto set = WholeNumber(parse.Value(kSet), 1, INT_MAX);
                if (!set) return parse.Refuse(QStringLiteral("--set takes a set number from 1"));
                arguments.set = *set;
            }
            if (parse.Set(kFormat)) {
                const auto format = FormatNamed(parse.Value(kFormat), false);
                if (!format) return parse.Refuse(QStringLiteral("--format takes csv, tsv or jsonl"));
                arguments.format = *format;
            }
            arguments.output = parse.Value(kOutput);
            arguments.force = parse.Set(kForce);
            arguments.recover = parse.Set(kRecover);
            return arguments;
        });
}

CliParse ParseSetup(const QStringList& rest) {
    const QString action = rest.value(0);
    const QStringList after = rest.mid(1);
    if (action == QStringLiteral("show")) {
        return ParseCommand(Command::SetupShow, {kDevice, kJson}, after, 0, 0,
                            [](const CommandParse& parse, const QStringList&) -> CliParse {
                                CliArguments arguments = parse.Arguments();
                                arguments.json = parse.Set(kJson);
                                return arguments;
                            });
    }
    if (action == QStringLiteral("set")) {
        return ParseCommand(
            Command::SetupSet, {kDevice}, after, 1, -1,
            [](const CommandParse& parse, const QStringList& positional) -> CliParse {
                for (const QString& assignment : positional) {
                    if (assignment.indexOf(u'=') <= 0)
                        return parse.Refuse(
                            QStringLiteral("\"%1\" is no NAME=VALUE").arg(assignment));
                }
                CliArguments arguments = parse.Arguments();
                arguments.assignments = positional;
                return arguments;
            });
    }
    if (action == QStringLiteral("--help") || action == QStringLiteral("-h"))
        return Help(Command::SetupShow);
    return UsageError{action.isEmpty() ? QStringLiteral("setup needs show or set")
                                       : QStringLiteral("unknown setup action \"%1\"").arg(action),
                      CommandUsage(Command::SetupShow)};
}

CliParse ParseClock(const QStringList& rest) {
    const QString action = rest.value(0);
    if (action == QStringLiteral("sync"))
        return ParseCommand(Command::ClockSync, {kDevice}, rest.mid(1), 0, 0,
                            [](const CommandParse& parse, const QStringList&) -> CliParse {
                                return parse.Arguments();
                            });
    if (action == QStringLiteral("--help") || action == QStringLiteral("-h"))
        return Help(Command::ClockSync);
    return UsageError{QStringLiteral("clock needs sync"), CommandUsage(Command::ClockSync)};
}

CliParse ParseErase(const QStringList& rest) {
    return ParseCommand(Command::Erase, {kDevice, kYes}, rest, 0, 0,
                        [](const CommandParse& parse, const QStringList&) -> CliParse {
                            if (!parse.Set(kYes))
                                return parse.Refuse(QStringLiteral(
                                    "erase deletes every recorded data set: add --yes to do it"));
                            CliArguments arguments = parse.Arguments();
                            arguments.yes = true;
                            return arguments;
                        });
}

}  // namespace

CliParse ParseCliArguments(const QStringList& arguments) {
    const QString command = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (command.isEmpty()) return UsageError{QStringLiteral("no command given"), ProgramUsage()};
    if (command == QStringLiteral("--help") || command == QStringLiteral("-h") ||
        command == QStringLiteral("help"))
        return Help(Command::Help);
    if (command == QStringLiteral("ports"))
        return ParseCommand(Command::Ports, {kProbe}, rest, 0, 0,
                            [](const CommandParse& parse, const QStringList&) -> CliParse {
                                CliArguments parsed = parse.Arguments();
                                parsed.probe = parse.Set(kProbe);
                                return parsed;
                            });
    if (command == QStringLiteral("live")) return ParseLive(rest);
    if (command == QStringLiteral("download")) return ParseDownload(rest);
    if (command == QStringLiteral("sets")) return ParseSets(rest);
    if (command == QStringLiteral("export")) return ParseExport(rest);
    if (command == QStringLiteral("setup")) return ParseSetup(rest);
    if (command == QStringLiteral("clock")) return ParseClock(rest);
    if (command == QStringLiteral("erase")) return ParseErase(rest);
    return UsageError{QStringLiteral("unknown command \"%1\"").arg(command), ProgramUsage()};
}

}  // namespace kr820::cli
