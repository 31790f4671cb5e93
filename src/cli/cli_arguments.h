// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <variant>

#include "cli/alarm_options.h"
#include "cli/serve_options.h"
#include "core/files/reading_rows.h"
#include "core/report/report_settings.h"

namespace kr820::cli {

enum class ReportFormat { Text, Json, Pdf };

// report: what is reported and how; the readings' range and limits in their own unit.
struct ReportOptions {
    core::ReportSettings settings;
    ReportFormat format = ReportFormat::Text;
    QString heading;
    // --high or --low given; without them a store's own alarm limits are reported.
    bool limitsGiven = false;
};

enum class Command {
    Help,     // HelpText is printed on stdout
    Version,  // the program's version, Qt's and the build's revision
    Ports,
    Live,
    Watch,
    Serve,
    Download,
    Sets,
    Export,
    Report,
    SetupShow,
    SetupSet,
    ClockSync,
    Erase,
};

// A command line that makes sense. Only the options of the chosen command are set.
struct CliArguments {
    Command command = Command::Help;
    QString helpText;

    // What is said on stderr: 0 only errors (-q), 1 what went wrong and what was done, 2 also
    // what the program does (-v), 3 also the frames on the wire (-vv).
    int verbosity = 1;
    core::TimeFormat timeFormat = core::TimeFormat::Iso;  // live, sets, export

    QString device;  // empty: search the meter
    bool probe = false;

    int count = 0;               // live, watch: readings to take; 0 runs until stopped
    int everySeconds = 1;        // live, serve: seconds between two readings
    int timeoutSeconds = 0;      // live: how long to wait for a meter that does not answer; 0: ever
    qint64 durationSeconds = 0;  // live, watch: how long to take readings; 0 runs until stopped
    core::RowFormat format = core::RowFormat::Csv;
    AlarmOptions alarms;  // live, watch, serve: the alarms watched over the readings
    ServeOptions serve;

    QString output;  // download: required; export, live, watch: empty for stdout
    QString store;   // live: a recording store the rows also go to; empty: none
    bool force = false;
    bool recover = false;

    QString file;  // sets, export; "-" is stdin
    bool json = false;
    int set = 1;  // export: 1-based
    bool all = false;

    ReportOptions report;  // report

    QStringList assignments;  // setup set: NAME=VALUE
    bool yes = false;         // erase
};

// What is wrong with a command line: one line, and the line that says where help is.
struct UsageError {
    QString message;
    QString usage;  // "Try 'kr820-cli COMMAND --help'."
};

using CliParse = std::variant<CliArguments, UsageError>;

// Reads a command line (`arguments` without the program name), and a configuration file it names
// (--config). Touches nothing: no output, no exit, no application object needed.
CliParse ParseCliArguments(const QStringList& arguments);

}  // namespace kr820::cli
