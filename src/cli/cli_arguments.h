// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <variant>

#include "cli/alarm_options.h"
#include "core/files/reading_rows.h"

namespace kr820::cli {

enum class Command {
    Help,  // HelpText is printed on stdout
    Ports,
    Live,
    Download,
    Sets,
    Export,
    SetupShow,
    SetupSet,
    ClockSync,
    Erase,
};

// A command line that makes sense. Only the options of the chosen command are set.
struct CliArguments {
    Command command = Command::Help;
    QString helpText;

    QString device;  // empty: search the meter
    bool probe = false;

    int count = 0;         // live: readings to print; 0 runs until stopped
    int everySeconds = 1;  // live: seconds between two readings
    int timeoutSeconds = 0;  // live: how long to wait for a meter that does not answer; 0: ever
    core::RowFormat format = core::RowFormat::Csv;
    AlarmOptions alarms;  // live: the alarms watched over the readings

    QString output;  // download: required; export: empty for stdout
    bool force = false;
    bool recover = false;

    QString file;  // sets, export
    bool json = false;
    int set = 1;  // export: 1-based
    bool all = false;

    QStringList assignments;  // setup set: NAME=VALUE
    bool yes = false;         // erase
};

// What is wrong with a command line: one line, and the usage of the command it was meant for.
struct UsageError {
    QString message;
    QString usage;
};

using CliParse = std::variant<CliArguments, UsageError>;

// Reads a command line (`arguments` without the program name). Touches nothing: no output, no
// exit, no application object needed.
CliParse ParseCliArguments(const QStringList& arguments);

}  // namespace kr820::cli
