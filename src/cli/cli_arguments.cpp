// SPDX-License-Identifier: MIT
#include "cli/cli_arguments.h"

#include <QCommandLineParser>

#include "cli/command_table.h"
#include "cli/given_options.h"
#include "cli/usage_text.h"

namespace kr820::cli {
namespace {

const QString kHelpName = QStringLiteral("help");

QCommandLineOption ParserOption(const OptionSpec& option) {
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
std::pair<const CommandSpec*, qsizetype> CommandNamed(const QStringList& arguments) {
    for (const CommandSpec& command : CommandTable()) {
        const QStringList words = command.name.split(u' ');
        if (arguments.mid(0, words.size()) == words) return {&command, words.size()};
    }
    return {nullptr, 0};
}

// A group's first word without one of its actions after it.
CliParse RefuseGroupAction(const QString& group, const QString& action) {
    QStringList actions;
    for (const CommandSpec& command : CommandTable())
        if (command.name.startsWith(group + u' ')) actions << command.name.mid(group.size() + 1);
    const QString allowed = actions.join(QStringLiteral(" or "));
    const QString usage = GroupUsage(group);
    if (action.isEmpty() || action.startsWith(u'-'))
        return UsageError{QStringLiteral("%1 needs %2").arg(group, allowed), usage};
    return UsageError{QStringLiteral("unknown %1 action \"%2\" (%3)").arg(group, action, allowed),
                      usage};
}

// One command's options, then help, then the operands it takes, then its own checks.
CliParse ParseCommand(const CommandSpec& spec, const QStringList& rest) {
    const QString usage = CommandUsage(spec.id);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionSpec& option : CommonOptions()) parser.addOption(ParserOption(option));
    for (const OptionSpec& option : spec.options) parser.addOption(ParserOption(option));
    if (!parser.parse(QStringList{QStringLiteral("kr820-cli")} + rest))
        return UsageError{parser.errorText(), usage};
    if (parser.isSet(kHelpName)) return Help(usage);
    const QStringList operands = parser.positionalArguments();
    if (operands.size() < spec.operandsLow)
        return UsageError{QStringLiteral("missing argument"), usage};
    if (spec.operandsHigh >= 0 && operands.size() > spec.operandsHigh)
        return UsageError{QStringLiteral("unexpected argument \"%1\"").arg(operands.last()), usage};
    // An empty word (a shell variable that was not set) names no file and no field.
    if (operands.contains(QString()))
        return UsageError{QStringLiteral("an argument is empty"), usage};
    CliArguments arguments;
    arguments.command = spec.id;
    const GivenOptions options(parser, spec.options);
    arguments.device = options.Value(QStringLiteral("device"));
    if (const std::optional<QString> refusal = spec.finish(options, operands, arguments))
        return UsageError{*refusal, usage};
    return arguments;
}

}  // namespace

CliParse ParseCliArguments(const QStringList& arguments) {
    const QString first = arguments.value(0);
    if (first.isEmpty()) return UsageError{QStringLiteral("no command given"), ProgramUsage()};
    if (AsksForHelp(first) || first == QStringLiteral("help")) return Help(ProgramUsage());
    const auto [command, words] = CommandNamed(arguments);
    if (command) return ParseCommand(*command, arguments.mid(words));
    if (CommandGroups().contains(first)) {
        if (AsksForHelp(arguments.value(1))) return Help(GroupUsage(first));
        return RefuseGroupAction(first, arguments.value(1));
    }
    return UsageError{QStringLiteral("unknown command \"%1\"").arg(first), ProgramUsage()};
}

}  // namespace kr820::cli
