// SPDX-License-Identifier: MIT
#include "cli/usage_text.h"

#include "cli/command_table.h"

namespace kr820::cli {
namespace {

// Where the help column starts: two blanks, the names, at least two blanks.
constexpr int kHelpColumn = 21;
// Lines of the help end before this column.
constexpr int kLineEnd = 97;

// `text` broken at blanks into lines of at most `width` characters.
QStringList Wrapped(const QString& text, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty() || lines.isEmpty()) lines << line;
    return lines;
}

QString GroupOf(const QString& name) {
    const qsizetype blank = name.indexOf(u' ');
    return blank > 0 ? name.left(blank) : QString();
}

QString Usage(const std::vector<const CommandRow*>& commands) {
    QString text;
    QString description;
    std::vector<const OptionRow*> options;
    bool exitCodes = false;
    for (const CommandRow* command : commands) {
        text += (text.isEmpty() ? QStringLiteral("Usage: ") : QStringLiteral("       ")) +
                QStringLiteral("kr820-cli %1 %2\n").arg(command->name, command->synopsis);
        description +=
            (description.isEmpty() ? QString() : QStringLiteral(" ")) + command->description;
        for (const OptionRow& option : command->options) {
            const bool known = std::any_of(options.begin(), options.end(), [&](const OptionRow* o) {
                return o->names == option.names;
            });
            if (!known) options.push_back(&option);
        }
        exitCodes = exitCodes || command->exitCodesInHelp;
    }
    text += u'\n' + Wrapped(description, kLineEnd).join(u'\n') + u'\n';
    for (const OptionRow* option : options) text += OptionLines(*option);
    text += CommonOptionLines();
    if (exitCodes) text += u'\n' + ExitCodeLines();
    return text;
}

}  // namespace

QString OptionLines(const OptionRow& option) {
    QStringList names;
    for (const QString& name : option.names)
        // Single-dash words are options of their own here: -vv is one.
        names << (name.size() == 1 || name == QStringLiteral("vv") ? QStringLiteral("-")
                                                                   : QStringLiteral("--")) +
                     name;
    QString left = QStringLiteral("  ") + names.join(QStringLiteral(", "));
    if (!option.valueName.isEmpty()) left += u' ' + option.valueName;
    left = left.size() + 2 <= kHelpColumn
               ? left.leftJustified(kHelpColumn)
               : left + QStringLiteral("\n") + QString(kHelpColumn, u' ');
    const QStringList lines = Wrapped(option.help, kLineEnd - kHelpColumn);
    QString text = left + lines.first() + u'\n';
    for (qsizetype i = 1; i < lines.size(); ++i)
        text += QString(kHelpColumn, u' ') + lines[i] + u'\n';
    return text;
}

QString CommonOptionLines() {
    QString text = QStringLiteral("Every command takes:\n");
    for (const OptionRow& option : CommonOptions()) text += OptionLines(option);
    return text;
}

QString ExitCodeLines() {
    QString text = QStringLiteral("Exit codes:\n");
    for (const ExitCodeText& code : ExitCodeTexts())
        text += QStringLiteral("%1  %2\n").arg(code.code, 3).arg(QString::fromUtf8(code.meaning));
    return text;
}

QString ProgramUsage() {
    QString text = QStringLiteral(
        "Usage: kr820-cli COMMAND [OPTIONS]\n\n"
        "Talks to a KR820 thermocouple recorder on a serial port and converts its files, without a "
        "display.\n\nCommands:\n");
    for (const CommandRow& command : CommandTable())
        text += QStringLiteral("  %1%2\n").arg(command.brief.leftJustified(32), command.summary);
    text += QStringLiteral(R"(
"kr820-cli COMMAND --help" (or "kr820-cli help COMMAND") describes a command. Times are ISO 8601
local times; in CSV and TSV the offset from UTC has a column of its own (utc_offset), so that
spreadsheets read the time as a date, in JSON lines it ends the time. Numbers have a decimal point whatever the regional settings;
a channel out of range or without a valid value is left empty (null in JSON lines).

)");
    return text + CommonOptionLines() + u'\n' + ExitCodeLines();
}

QString CommandUsage(Command command) {
    const CommandRow* row = FindCommand(command);
    if (!row) return ProgramUsage();
    const QString group = GroupOf(row->name);
    return group.isEmpty() ? Usage({row}) : GroupUsage(group);
}

QString GroupUsage(const QString& group) {
    std::vector<const CommandRow*> members;
    for (const CommandRow& command : CommandTable())
        if (GroupOf(command.name) == group) members.push_back(&command);
    return members.empty() ? QString() : Usage(members);
}

}  // namespace kr820::cli
