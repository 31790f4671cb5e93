// SPDX-License-Identifier: MIT
#include "cli/command_table.h"

#include <QLocale>
#include <climits>

#include "cli/command_runners.h"
#include "cli/given_options.h"

namespace kr820::cli {
namespace {

// Longer than a day between two readings is no pacing anyone means, nor a wait for a meter.
constexpr int kLongestEverySeconds = 86400;

const QString kDeviceHelp = QStringLiteral(
    "the meter's serial device; without it every device the system lists "
    "(and those in $KR820_PORTS, separated by ':') is tried");

OptionSpec Device() {
    return {{QStringLiteral("device")}, QStringLiteral("PATH"), kDeviceHelp, ValueKind::Device, {}};
}
OptionSpec Switch(const char* name, const char* help) {
    return {{QString::fromLatin1(name)}, {}, QString::fromUtf8(help), ValueKind::None, {}};
}

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

std::optional<QString> FinishPorts(const GivenOptions& options, const QStringList&,
                                   CliArguments& arguments) {
    arguments.probe = options.Set(QStringLiteral("probe"));
    return std::nullopt;
}

std::optional<QString> FinishLive(const GivenOptions& options, const QStringList&,
                                  CliArguments& arguments) {
    if (options.Set(QStringLiteral("count"))) {
        const auto count = WholeNumber(options.Value(QStringLiteral("count")), 1, INT_MAX);
        if (!count) return QStringLiteral("--count takes a whole number above 0");
        arguments.count = *count;
    }
    if (options.Set(QStringLiteral("every"))) {
        const auto every =
            WholeNumber(options.Value(QStringLiteral("every")), 1, kLongestEverySeconds);
        if (!every)
            return QStringLiteral("--every takes whole seconds from 1 to %1")
                .arg(kLongestEverySeconds);
        arguments.everySeconds = *every;
    }
    if (options.Set(QStringLiteral("timeout"))) {
        const auto timeout =
            WholeNumber(options.Value(QStringLiteral("timeout")), 1, kLongestEverySeconds);
        if (!timeout)
            return QStringLiteral("--timeout takes whole seconds from 1 to %1")
                .arg(kLongestEverySeconds);
        arguments.timeoutSeconds = *timeout;
    }
    if (options.Set(QStringLiteral("format"))) {
        const auto format = FormatNamed(options.Value(QStringLiteral("format")), true);
        if (!format) return QStringLiteral("--format takes csv, jsonl or influx");
        arguments.format = *format;
    }
    return std::nullopt;
}

std::optional<QString> FinishDownload(const GivenOptions& options, const QStringList&,
                                      CliArguments& arguments) {
    arguments.output = options.Value(QStringLiteral("output"));
    if (arguments.output.isEmpty()) return QStringLiteral("--output FILE is required");
    arguments.force = options.Set(QStringLiteral("force"));
    arguments.recover = options.Set(QStringLiteral("recover"));
    return std::nullopt;
}

std::optional<QString> FinishSets(const GivenOptions& options, const QStringList& operands,
                                  CliArguments& arguments) {
    arguments.file = operands.first();
    arguments.json = options.Set(QStringLiteral("json"));
    arguments.recover = options.Set(QStringLiteral("recover"));
    return std::nullopt;
}

std::optional<QString> FinishExport(const GivenOptions& options, const QStringList& operands,
                                    CliArguments& arguments) {
    arguments.file = operands.first();
    arguments.all = options.Set(QStringLiteral("all"));
    if (options.Set(QStringLiteral("set"))) {
        if (arguments.all) return QStringLiteral("--set and --all exclude each other");
        const auto set = WholeNumber(options.Value(QStringLiteral("set")), 1, INT_MAX);
        if (!set) return QStringLiteral("--set takes a set number from 1");
        arguments.set = *set;
    }
    if (options.Set(QStringLiteral("format"))) {
        const auto format = FormatNamed(options.Value(QStringLiteral("format")), false);
        if (!format) return QStringLiteral("--format takes csv, tsv or jsonl");
        arguments.format = *format;
    }
    arguments.output = options.Value(QStringLiteral("output"));
    arguments.force = options.Set(QStringLiteral("force"));
    arguments.recover = options.Set(QStringLiteral("recover"));
    return std::nullopt;
}

std::optional<QString> FinishSetupShow(const GivenOptions& options, const QStringList&,
                                       CliArguments& arguments) {
    arguments.json = options.Set(QStringLiteral("json"));
    return std::nullopt;
}

std::optional<QString> FinishSetupSet(const GivenOptions&, const QStringList& operands,
                                      CliArguments& arguments) {
    for (const QString& assignment : operands) {
        if (assignment.indexOf(u'=') <= 0)
            return QStringLiteral("\"%1\" is no NAME=VALUE").arg(assignment);
    }
    arguments.assignments = operands;
    return std::nullopt;
}

std::optional<QString> FinishPlain(const GivenOptions&, const QStringList&, CliArguments&) {
    return std::nullopt;
}

std::optional<QString> FinishErase(const GivenOptions& options, const QStringList&,
                                   CliArguments& arguments) {
    if (!options.Set(QStringLiteral("yes")))
        return QStringLiteral("erase deletes every recorded data set: add --yes to do it");
    arguments.yes = true;
    return std::nullopt;
}

std::vector<CommandSpec> MakeTable() {
    const OptionSpec recover =
        Switch("recover", "of a collection with a damaged set, read the sets before it");
    std::vector<CommandSpec> table;
    table.push_back(
        {Command::Ports,
         QStringLiteral("ports"),
         QStringLiteral("ports [--probe]"),
         QStringLiteral("list the serial devices; --probe asks each for the meter"),
         QStringLiteral("[--probe]"),
         QStringLiteral("Lists the serial devices the system knows, then those in $KR820_PORTS."),
         {Switch("probe", "ask each device for the meter's model; the meter is marked \"meter\"")},
         0,
         0,
         ValueKind::None,
         false,
         &FinishPorts,
         &RunPortsCommand});
    table.push_back(
        {Command::Live,
         QStringLiteral("live"),
         QStringLiteral("live"),
         QStringLiteral("print the meter's readings as they come"),
         QStringLiteral("[--device PATH] [--count N] [--every SECONDS] [--timeout SECONDS] "
                        "[--format csv|jsonl|influx]"),
         QStringLiteral(
             "Prints one line per reading on stdout, each written at once: "
             "time,utc_offset,t1,t2,unit (CSV, "
             "with a header row), JSON lines, or InfluxDB line protocol (measurement kr820, tag "
             "device, fields t1 and t2; a "
             "channel without a value is left out). A meter that stops answering is reported on "
             "stderr and "
             "waited for. Ctrl+C (SIGINT) or SIGTERM ends it after the line in hand, with exit "
             "code 130 or 143. "
             "A named device that cannot be opened ends it at once with its reason (exit code 3)."),
         {Device(),
          {{QStringLiteral("count")},
           QStringLiteral("N"),
           QStringLiteral("stop after N readings (default: run until stopped)"),
           ValueKind::Number,
           {}},
          {{QStringLiteral("every")},
           QStringLiteral("SECONDS"),
           QStringLiteral(
               "a reading every so many whole seconds (default 1, the meter's own rate)"),
           ValueKind::Seconds,
           {}},
          {{QStringLiteral("timeout")},
           QStringLiteral("SECONDS"),
           QStringLiteral(
               "end with exit code 3 when no meter answers for so long, from the start or "
               "a lost link (default: wait for ever); a named device may appear meanwhile"),
           ValueKind::Seconds,
           {}},
          {{QStringLiteral("format")},
           QStringLiteral("FORMAT"),
           QStringLiteral("csv (default), jsonl or influx"),
           ValueKind::Choice,
           {QStringLiteral("csv"), QStringLiteral("jsonl"), QStringLiteral("influx")}}},
         0,
         0,
         ValueKind::None,
         false,
         &FinishLive,
         &RunLiveCommand});
    table.push_back(
        {Command::Download,
         QStringLiteral("download"),
         QStringLiteral("download --output FILE.820"),
         QStringLiteral("copy the meter's logger memory into a collection file"),
         QStringLiteral("[--device PATH] --output FILE.820 [--force] [--recover]"),
         QStringLiteral("Downloads the meter's logger memory, as the desktop program's Load Data "
                        "does, and writes it as a "
                        "collection file. Progress goes to stderr: a bar on a terminal, otherwise "
                        "a line per 10 %. The file "
                        "appears only once it is complete; Ctrl+C or SIGTERM stops the meter "
                        "sending and writes nothing."),
         {Device(),
          {{QStringLiteral("o"), QStringLiteral("output")},
           QStringLiteral("FILE"),
           QStringLiteral("the collection file to write, checked before the meter is asked; a pipe "
                          "or a device is written to as it is, \"-\" is stdout"),
           ValueKind::File,
           {}},
          Switch("force",
                 "replace FILE if it exists (otherwise it is kept and nothing is downloaded)"),
          Switch("recover",
                 "a memory with a damaged data set is written anyway; the sets before the "
                 "damaged one are the ones that can be read (\"sets\"/\"export\" --recover)")},
         0,
         0,
         ValueKind::None,
         true,
         &FinishDownload,
         &RunDownloadCommand});
    table.push_back(
        {Command::Sets,
         QStringLiteral("sets"),
         QStringLiteral("sets FILE"),
         QStringLiteral("list the data sets of a collection file"),
         QStringLiteral("FILE [--json] [--recover]"),
         QStringLiteral("Lists the data sets of a file: number, start (ISO 8601) and its "
                        "utc_offset, interval in seconds, "
                        "samples, thermocouple type and unit."),
         {Switch("json", "one JSON object per set instead of CSV"),
          Switch("recover", "of a collection with a damaged set, list the sets before it")},
         1,
         1,
         ValueKind::File,
         false,
         &FinishSets,
         &RunSetsCommand});
    table.push_back(
        {Command::Export,
         QStringLiteral("export"),
         QStringLiteral("export FILE"),
         QStringLiteral("write a data file as CSV, TSV or JSON lines"),
         QStringLiteral(
             "FILE [--set N | --all] [--format csv|tsv|jsonl] [--output PATH] [--recover]"),
         QStringLiteral("Writes the readings of a collection (.820) or single set file (.txt, "
                        ".csv, .ghf) as RFC 4180 CSV "
                        "with a header row (time,utc_offset,t1,t2,unit), as TSV or as JSON lines. "
                        "Text files are read with this "
                        "computer's regional settings, as the desktop program reads them."),
         {{{QStringLiteral("set")},
           QStringLiteral("N"),
           QStringLiteral("the data set to write, from 1 (default 1)"),
           ValueKind::Number,
           {}},
          Switch("all", "every data set, with a leading set column"),
          {{QStringLiteral("format")},
           QStringLiteral("FORMAT"),
           QStringLiteral("csv (default), tsv or jsonl"),
           ValueKind::Choice,
           {QStringLiteral("csv"), QStringLiteral("tsv"), QStringLiteral("jsonl")}},
          {{QStringLiteral("o"), QStringLiteral("output")},
           QStringLiteral("PATH"),
           QStringLiteral("write PATH (replaced only once complete) instead of stdout; a pipe or a "
                          "device is written to as it is, \"-\" is stdout"),
           ValueKind::File,
           {}},
          Switch("force", "replace PATH if it exists"),
          Switch("recover", "of a collection with a damaged set, write the sets before it")},
         1,
         1,
         ValueKind::File,
         false,
         &FinishExport,
         &RunExportCommand});
    const QString setupFields = QStringLiteral(
        "Fields: type (K|J), print-start, print-stop, record-start, "
        "record-stop (2026-12-07T09:30:00), print-interval, record-interval (00:01:00 ...), "
        "print-mode "
        "(TEXT|GRAPH), graph-inch, scale-width, low-limit (-220 to 2400), auto-power-off (on|off), "
        "alarm "
        "(on|off), alarm-upper, alarm-lower (degrees, decimal point, -3276.8 to 3276.7); clock, "
        "memory-records and memory-left are read only.");
    table.push_back(
        {Command::SetupShow,
         QStringLiteral("setup show"),
         QStringLiteral("setup show [--json]"),
         QStringLiteral("print the meter's setup"),
         QStringLiteral("[--device PATH] [--json]"),
         QStringLiteral(
             "\"show\" prints the meter's setup, one NAME=VALUE a line (or one JSON object)."),
         {Device(), Switch("json", "one JSON object instead of NAME=VALUE lines")},
         0,
         0,
         ValueKind::None,
         false,
         &FinishSetupShow,
         &RunSetupShowCommand});
    table.push_back(
        {Command::SetupSet,
         QStringLiteral("setup set"),
         QStringLiteral("setup set NAME=VALUE..."),
         QStringLiteral("change fields of the meter's setup"),
         QStringLiteral("[--device PATH] NAME=VALUE..."),
         QStringLiteral("\"set\" changes the named fields, checked as the desktop's setup dialog "
                        "checks them, and "
                        "writes the setup with the meter's clock left running as it was. ") +
             setupFields + QStringLiteral(" A value the meter cannot hold is refused."),
         {Device()},
         1,
         -1,
         ValueKind::None,
         false,
         &FinishSetupSet,
         &RunSetupSetCommand});
    table.push_back(
        {Command::ClockSync,
         QStringLiteral("clock sync"),
         QStringLiteral("clock sync"),
         QStringLiteral("set the meter's clock to this computer's"),
         QStringLiteral("[--device PATH]"),
         QStringLiteral(
             "Sets the meter's clock to this computer's local time and says how far off it was."),
         {Device()},
         0,
         0,
         ValueKind::None,
         false,
         &FinishPlain,
         &RunClockSyncCommand});
    table.push_back(
        {Command::Erase,
         QStringLiteral("erase"),
         QStringLiteral("erase --yes"),
         QStringLiteral("erase the meter's logger memory"),
         QStringLiteral("--yes [--device PATH]"),
         QStringLiteral("Erases every data set recorded in the meter. Refused without --yes."),
         {Device(), Switch("yes", "erase indeed")},
         0,
         0,
         ValueKind::None,
         false,
         &FinishErase,
         &RunEraseCommand});
    return table;
}

std::vector<OptionSpec> MakeCommonOptions() {
    return {{{QStringLiteral("h"), QStringLiteral("help")},
             {},
             QStringLiteral("describe the command"),
             ValueKind::None,
             {}}};
}

const ExitCodeText kExitCodes[] = {
    {0, "done"},
    {1, "a file could not be read or written, or a value was refused"},
    {2, "bad command line (unknown command or option, missing or bad argument)"},
    {3, "no meter answered"},
    {4, "the meter is recording; stop recording on the meter first"},
    {5, "the meter's memory holds no recorded data"},
    {6, "the meter did not answer the memory header request"},
    {7, "the memory transfer broke off"},
    {8, "the memory holds a damaged data set or cannot be decoded"},
    {9, "the meter did not answer or confirm a setup, clock or erase exchange"},
    {130, "stopped by SIGINT (Ctrl+C)"},
    {143, "stopped by SIGTERM"},
};

}  // namespace

std::span<const CommandSpec> CommandTable() {
    static const std::vector<CommandSpec> table = MakeTable();
    return table;
}

const CommandSpec* FindCommand(Command id) {
    for (const CommandSpec& command : CommandTable())
        if (command.id == id) return &command;
    return nullptr;
}

std::span<const OptionSpec> CommonOptions() {
    static const std::vector<OptionSpec> options = MakeCommonOptions();
    return options;
}

QStringList CommandGroups() {
    QStringList groups;
    for (const CommandSpec& command : CommandTable()) {
        const qsizetype blank = command.name.indexOf(u' ');
        if (blank > 0 && !groups.contains(command.name.left(blank)))
            groups << command.name.left(blank);
    }
    return groups;
}

std::span<const ExitCodeText> ExitCodeTexts() { return kExitCodes; }

}  // namespace kr820::cli
