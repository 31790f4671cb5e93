// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <vector>

#include "cli/cli_arguments.h"
#include "cli/exit_codes.h"

namespace kr820::cli {

struct CliEnvironment;
struct MeterAccess;

// What an option's value is, for the shell's completion and the manual page.
enum class ValueKind { None, Number, Seconds, Duration, File, Device, Choice };

struct OptionRow {
    QStringList names;  // a one-letter name first where there is one, then the long name
    QString valueName;  // empty: a switch
    QString help;       // the help column, wrapped to fit
    ValueKind kind = ValueKind::None;
    QStringList choices;  // ValueKind::Choice

    QString LongName() const { return names.last(); }
};

class GivenOptions;

// Completes the arguments of a parsed command line from its options and operands; returns the
// line that refuses them.
using Finisher = std::optional<QString> (*)(const GivenOptions& options,
                                            const QStringList& operands, CliArguments& arguments);
using Runner = ExitCode (*)(const CliArguments& arguments, MeterAccess& access,
                            CliEnvironment& environment);

// One command: parsing, its --help, the overview, the completion, the manual page and the
// dispatch all come from its entry.
struct CommandRow {
    Command id;
    QString name;      // the words that choose it: "live", "setup show"
    QString brief;     // the overview's left column: "ports [--probe]"
    QString summary;   // the overview's right column
    QString synopsis;  // after "Usage: kr820-cli NAME "
    QString description;
    std::vector<OptionRow> options;  // without those every command takes
    int operandsLow = 0;
    int operandsHigh = 0;  // -1: any number
    ValueKind operandKind = ValueKind::None;
    QString operandName{};  // "FILE"
    bool exitCodesInHelp = false;
    Finisher finish = nullptr;
    Runner run = nullptr;
};

// Every command, in the order the overview lists them.
std::span<const CommandRow> CommandTable();
const CommandRow* FindCommand(Command id);
// The options every command takes (--help, --version, -q, -v).
std::span<const OptionRow> CommonOptions();
// The first words of commands that take a second ("setup", "clock").
QStringList CommandGroups();

// The exit codes, as the help and the manual page list them.
struct ExitCodeText {
    int code;
    const char* meaning;
};
std::span<const ExitCodeText> ExitCodeTexts();

}  // namespace kr820::cli
