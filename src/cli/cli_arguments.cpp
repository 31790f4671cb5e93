// SPDX-License-Identifier: MIT
#include "cli/cli_arguments.h"

#include <QCommandLineParser>
#include <algorithm>

#include "cli/command_table.h"
#include "cli/device_option.h"
#include "cli/given_options.h"
#include "cli/serve_config_file.h"
#include "cli/usage_text.h"

namespace kr820::cli {
namespace {

const QString kHelpName = QStringLiteral("help");

QCommandLineOption ParserOption(const OptionRow& option) {
    return option.valueName.isEmpty() ? QCommandLineOption(option.names)
                                      : QCommandLineOption(option.names, {}, option.valueName);
}

CliParse Help(const QString& text) {
    CliArguments arguments;
    arguments.command = Command::Help;
    arguments.helpText = text;
    return arguments;
}

bool AsksForHelp(const QString& word) {
    return word == QStringLiteral("--help") || word == QStringLiteral("-h");
}

// The command the first words name, and how many words that took.
std::pair<const CommandRow*, qsizetype> CommandNamed(const QStringList& arguments) {
    for (const CommandRow& command : CommandTable()) {
        const QStringList words = command.name.split(u' ');
        if (arguments.mid(0, words.size()) == words) return {&command, words.size()};
    }
    return {nullptr, 0};
}

// Where a mistake's help is: the command's, the group's or the program's.
QString TryHelp(const QString& words) {
    return QStringLiteral("Try 'kr820-cli %1--help'.")
        .arg(words.isEmpty() ? QString() : words + u' ');
}

// A group's first word without one of its actions after it.
CliParse RefuseGroupAction(const QString& group, const QString& action) {
    QStringList actions;
    for (const CommandRow& command : CommandTable())
        if (command.name.startsWith(group + u' ')) actions << command.name.mid(group.size() + 1);
    const QString allowed = actions.join(QStringLiteral(" or "));
    if (action.isEmpty() || action.startsWith(u'-'))
        return UsageError{QStringLiteral("%1 needs %2").arg(group, allowed), TryHelp(group)};
    return UsageError{
        QStringLiteral("unknown %1 action '%2' (allowed: %3)").arg(group, action, allowed),
        TryHelp(group)};
}

// The parser's own complaint in the program's style: lower case, the option as it is typed.
QString ParserError(const QCommandLineParser& parser) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString& name = unknown.first();
        return QStringLiteral("unknown option '%1%2'")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    QString text = parser.errorText();
    if (text.endsWith(u'.')) text.chop(1);
    if (!text.isEmpty()) text[0] = text[0].toLower();
    return text;
}

// -q, -v, -vv (given as an option of its own: single-dash words are long options here).
std::optional<int> Verbosity(const QCommandLineParser& parser) {
    int verbose = 0;
    for (const QString& name : parser.optionNames()) {
        if (name == QStringLiteral("v") || name == QStringLiteral("verbose")) verbose += 1;
        if (name == QStringLiteral("vv")) verbose += 2;
    }
    if (parser.isSet(QStringLiteral("quiet"))) return verbose > 0 ? std::nullopt : std::optional(0);
    return std::min(1 + verbose, 3);
}

// One command's options, then help, then the operands it takes, then its own checks.
CliParse ParseCommand(const CommandRow& row, const QStringList& rest) {
    const QString tryHelp = TryHelp(row.name);
    // A configuration file stands for the options it holds, where it is named.
    const auto words = WithConfigFiles(rest, row.options);
    if (const QString* problem = std::get_if<QString>(&words)) return UsageError{*problem, tryHelp};
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionRow& option : CommonOptions()) parser.addOption(ParserOption(option));
    for (const OptionRow& option : row.options) parser.addOption(ParserOption(option));
    if (!parser.parse(QStringList{QStringLiteral("kr820-cli")} + std::get<QStringList>(words)))
        return UsageError{ParserError(parser), tryHelp};
    if (parser.isSet(kHelpName)) return Help(CommandUsage(row.id));
    CliArguments arguments;
    if (parser.isSet(QStringLiteral("version"))) {
        arguments.command = Command::Version;
        return arguments;
    }
    const std::optional<int> verbosity = Verbosity(parser);
    if (!verbosity) return UsageError{QStringLiteral("-q and -v exclude each other"), tryHelp};
    const QStringList operands = parser.positionalArguments();
    if (operands.size() < row.operandsLow)
        return UsageError{QStringLiteral("missing argument %1").arg(row.operandName), tryHelp};
    if (row.operandsHigh >= 0 && operands.size() > row.operandsHigh)
        return UsageError{QStringLiteral("unexpected argument '%1'").arg(operands.last()), tryHelp};
    // An empty word (a shell variable that was not set) names no file and no field.
    if (operands.contains(QString()))
        return UsageError{QStringLiteral("an argument is empty (allowed: %1)").arg(row.operandName),
                          tryHelp};
    arguments.command = row.id;
    arguments.verbosity = *verbosity;
    const GivenOptions options(parser, row.options);
    if (const std::optional<QString> refusal =
            DeviceRefusal(options.Values(QStringLiteral("device"))))
        return UsageError{*refusal, tryHelp};
    arguments.device = options.Value(QStringLiteral("device"));
    if (const std::optional<QString> refusal = row.finish(options, operands, arguments))
        return UsageError{*refusal, tryHelp};
    return arguments;
}

}  // namespace

CliParse ParseCliArguments(const QStringList& arguments) {
    const QString first = arguments.value(0);
    if (first.isEmpty()) return UsageError{QStringLiteral("no command given"), TryHelp({})};
    // "help live" is "live --help"; "help" alone the overview.
    if (first == kHelpName && arguments.size() > 1)
        return ParseCliArguments(arguments.mid(1) << QStringLiteral("--help"));
    if (AsksForHelp(first) || first == kHelpName) return Help(ProgramUsage());
    if (first == QStringLiteral("--version") || first == QStringLiteral("-V")) {
        CliArguments version;
        version.command = Command::Version;
        return version;
    }
    const auto [command, words] = CommandNamed(arguments);
    if (command) return ParseCommand(*command, arguments.mid(words));
    if (CommandGroups().contains(first)) {
        if (AsksForHelp(arguments.value(1))) return Help(GroupUsage(first));
        return RefuseGroupAction(first, arguments.value(1));
    }
    QStringList commands;
    for (const CommandRow& row : CommandTable()) {
        const QString word = row.name.section(u' ', 0, 0);
        if (!commands.contains(word)) commands << word;
    }
    return UsageError{QStringLiteral("unknown command '%1' (allowed: %2)")
                          .arg(first, commands.join(QStringLiteral(", "))),
                      TryHelp({})};
}

}  // namespace kr820::cli
