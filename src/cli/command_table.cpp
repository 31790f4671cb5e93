// SPDX-License-Identifier: MIT
#include "cli/command_table.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <climits>
#include <cmath>

#include "cli/alarm_options.h"
#include "cli/command_runners.h"
#include "cli/given_options.h"
#include "cli/output_target.h"

namespace kr820::cli {
namespace {

// Longer than a day between two readings is no pacing anyone means, nor a wait for a meter.
constexpr int kLongestEverySeconds = 86400;

// Longest --duration: a year.
constexpr qint64 kLongestDurationSeconds = 366LL * 86400;

// The one style of a refused value: the option, the value quoted, what is allowed.
QString Invalid(const char* option, const QString& value, const QString& allowed) {
    return QStringLiteral("invalid value '%1' for %2 (allowed: %3)")
        .arg(value, QString::fromLatin1(option), allowed);
}

// --time-format, refused where the format fixes the times.
std::optional<QString> ReadTimeFormat(const GivenOptions& options, CliArguments& arguments) {
    if (!options.Set(QStringLiteral("time-format"))) return std::nullopt;
    const QString name = options.Value(QStringLiteral("time-format"));
    if (name == QStringLiteral("iso"))
        arguments.timeFormat = core::TimeFormat::Iso;
    else if (name == QStringLiteral("utc"))
        arguments.timeFormat = core::TimeFormat::Utc;
    else if (name == QStringLiteral("epoch"))
        arguments.timeFormat = core::TimeFormat::Epoch;
    else
        return Invalid("--time-format", name, QStringLiteral("iso, utc or epoch"));
    if (arguments.format == core::RowFormat::Influx)
        return QStringLiteral(
            "--time-format does not apply to --format influx, whose times are "
            "Unix nanoseconds");
    return std::nullopt;
}

// "90", "90s", "2h30m", "1d12h": whole seconds from 1 to a year.
std::optional<qint64> DurationSeconds(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^(?:(\\d{1,9})d)?(?:(\\d{1,9})h)?(?:(\\d{1,9})m)?(?:(\\d{1,9})s?)?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (text.isEmpty() || !match.hasMatch()) return std::nullopt;
    // A bare number is seconds; so is a last number without its unit only when it stands alone.
    if (!match.captured(4).isEmpty() && !text.endsWith(u's') && match.capturedStart(4) != 0)
        return std::nullopt;
    const qint64 seconds = match.captured(1).toLongLong() * 86400 +
                           match.captured(2).toLongLong() * 3600 +
                           match.captured(3).toLongLong() * 60 + match.captured(4).toLongLong();
    if (seconds < 1 || seconds > kLongestDurationSeconds) return std::nullopt;
    return seconds;
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

// --count and --duration, for the commands that take readings until one of them is reached.
std::optional<QString> ReadCountAndDuration(const GivenOptions& options, CliArguments& arguments) {
    if (options.Set(QStringLiteral("count"))) {
        const QString value = options.Value(QStringLiteral("count"));
        const auto count = WholeNumber(value, 1, INT_MAX);
        if (!count) return Invalid("--count", value, QStringLiteral("a whole number from 1"));
        arguments.count = *count;
    }
    if (options.Set(QStringLiteral("duration"))) {
        const QString value = options.Value(QStringLiteral("duration"));
        const auto duration = DurationSeconds(value);
        if (!duration)
            return Invalid("--duration", value,
                           QStringLiteral("seconds, or as 2h30m or 1d; from 1 s to 366 days"));
        arguments.durationSeconds = *duration;
    }
    return std::nullopt;
}

std::optional<QString> ReadEvery(const GivenOptions& options, CliArguments& arguments) {
    if (!options.Set(QStringLiteral("every"))) return std::nullopt;
    const QString value = options.Value(QStringLiteral("every"));
    const auto every = WholeNumber(value, 1, kLongestEverySeconds);
    if (!every)
        return Invalid("--every", value,
                       QStringLiteral("whole seconds from 1 to %1").arg(kLongestEverySeconds));
    arguments.everySeconds = *every;
    return std::nullopt;
}

std::optional<QString> ReadAlarms(const GivenOptions& options, CliArguments& arguments) {
    const auto alarms = ParseAlarmOptions(
        {options.Values(QStringLiteral("alarm")), options.Value(QStringLiteral("hysteresis")),
         options.Value(QStringLiteral("hold")), options.Value(QStringLiteral("on-alarm")),
         options.Value(QStringLiteral("on-alarm-timeout"))});
    if (const auto* problem = std::get_if<QString>(&alarms)) return *problem;
    arguments.alarms = std::get<AlarmOptions>(alarms);
    return std::nullopt;
}

std::optional<QString> FinishLive(const GivenOptions& options, const QStringList&,
                                  CliArguments& arguments) {
    if (auto problem = ReadCountAndDuration(options, arguments)) return problem;
    if (auto problem = ReadEvery(options, arguments)) return problem;
    if (options.Set(QStringLiteral("timeout"))) {
        const QString value = options.Value(QStringLiteral("timeout"));
        const auto timeout = WholeNumber(value, 1, kLongestEverySeconds);
        if (!timeout)
            return Invalid("--timeout", value,
                           QStringLiteral("whole seconds from 1 to %1").arg(kLongestEverySeconds));
        arguments.timeoutSeconds = *timeout;
    }
    if (options.Set(QStringLiteral("format"))) {
        const QString value = options.Value(QStringLiteral("format"));
        const auto format = FormatNamed(value, true);
        if (!format) return Invalid("--format", value, QStringLiteral("csv, jsonl or influx"));
        arguments.format = *format;
    }
    arguments.output = options.Value(QStringLiteral("output"));
    arguments.store = options.Value(QStringLiteral("store"));
    if (options.Set(QStringLiteral("store")) && arguments.store.isEmpty())
        return QStringLiteral("--store takes a file");
    if (auto problem = ReadAlarms(options, arguments)) return problem;
    return ReadTimeFormat(options, arguments);
}

std::optional<QString> FinishWatch(const GivenOptions& options, const QStringList&,
                                   CliArguments& arguments) {
    if (auto problem = ReadCountAndDuration(options, arguments)) return problem;
    arguments.output = options.Value(QStringLiteral("output"));
    if (auto problem = ReadAlarms(options, arguments)) return problem;
    if (!arguments.alarms.any) return QStringLiteral("watch needs an --alarm");
    arguments.alarms.exitOnAlarm = options.Set(QStringLiteral("exit-on-alarm"));
    return std::nullopt;
}

std::optional<QString> FinishServe(const GivenOptions& options, const QStringList&,
                                   CliArguments& arguments) {
    if (auto problem = ReadEvery(options, arguments)) return problem;
    if (auto problem = ReadAlarms(options, arguments)) return problem;
    const QString none;
    const auto given = [&](const char* name) {
        const QString longName = QString::fromLatin1(name);
        return options.Set(longName) ? options.Value(longName) : none;
    };
    if (auto problem =
            ReadServeOptions({options.Values(QStringLiteral("device")), given("mqtt"),
                              given("mqtt-ca"), given("mqtt-user"), given("mqtt-password-file"),
                              given("mqtt-queue"), given("metrics")},
                             arguments.serve))
        return problem;
    arguments.device.clear();
    if (arguments.serve.mqttUrl.isEmpty() && arguments.serve.metrics.isEmpty() &&
        arguments.alarms.onAlarm.isEmpty())
        return QStringLiteral("serve needs --mqtt URL, --metrics [ADDRESS:]PORT or --on-alarm");
    return std::nullopt;
}

std::optional<QString> FinishDownload(const GivenOptions& options, const QStringList&,
                                      CliArguments& arguments) {
    arguments.output = options.Value(QStringLiteral("output"));
    if (arguments.output.isEmpty()) return QStringLiteral("missing --output FILE");
    // The bytes are a collection whatever the name: under another extension neither this
    // program nor the desktop would read them back as one.
    if (OutputKindOf(arguments.output) == OutputKind::File &&
        QFileInfo(arguments.output).suffix() != QStringLiteral("820"))
        return Invalid("--output", arguments.output,
                       QStringLiteral("a name ending in .820, a pipe, a device or \"-\""));
    arguments.force = options.Set(QStringLiteral("force"));
    arguments.recover = options.Set(QStringLiteral("recover"));
    return std::nullopt;
}

std::optional<QString> FinishSets(const GivenOptions& options, const QStringList& operands,
                                  CliArguments& arguments) {
    arguments.file = operands.first();
    arguments.json = options.Set(QStringLiteral("json"));
    arguments.recover = options.Set(QStringLiteral("recover"));
    return ReadTimeFormat(options, arguments);
}

std::optional<QString> FinishExport(const GivenOptions& options, const QStringList& operands,
                                    CliArguments& arguments) {
    arguments.file = operands.first();
    arguments.all = options.Set(QStringLiteral("all"));
    if (options.Set(QStringLiteral("set"))) {
        if (arguments.all) return QStringLiteral("--set and --all exclude each other");
        const QString value = options.Value(QStringLiteral("set"));
        const auto set = WholeNumber(value, 1, INT_MAX);
        if (!set) return Invalid("--set", value, QStringLiteral("a set number from 1"));
        arguments.set = *set;
    }
    if (options.Set(QStringLiteral("format"))) {
        const QString value = options.Value(QStringLiteral("format"));
        const auto format = FormatNamed(value, false);
        if (!format) return Invalid("--format", value, QStringLiteral("csv, tsv or jsonl"));
        arguments.format = *format;
    }
    arguments.output = options.Value(QStringLiteral("output"));
    arguments.force = options.Set(QStringLiteral("force"));
    arguments.recover = options.Set(QStringLiteral("recover"));
    return ReadTimeFormat(options, arguments);
}

// A temperature as the command line writes it: "85", "-5.5".
std::optional<double> Degrees(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value) || value < -500 || value > 3000) return std::nullopt;
    return value;
}

// "2026-12-07T08:00" (local time), with seconds, an offset or Z.
std::optional<qint64> TimeMs(const QString& text) {
    const QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    if (!time.isValid()) return std::nullopt;
    return time.toMSecsSinceEpoch();
}

std::optional<QString> FinishReport(const GivenOptions& options, const QStringList& operands,
                                    CliArguments& arguments) {
    arguments.file = operands.first();
    ReportOptions& report = arguments.report;
    core::ReportSettings& settings = report.settings;
    arguments.all = options.Set(QStringLiteral("all"));
    if (options.Set(QStringLiteral("set"))) {
        if (arguments.all) return QStringLiteral("--set and --all exclude each other");
        const QString value = options.Value(QStringLiteral("set"));
        const auto set = WholeNumber(value, 1, INT_MAX);
        if (!set) return Invalid("--set", value, QStringLiteral("a set number from 1"));
        arguments.set = *set;
    }
    for (const char* name : {"high", "low"}) {
        const QString longName = QString::fromLatin1(name);
        if (!options.Set(longName)) continue;
        report.limitsGiven = true;
        const QString value = options.Value(longName);
        const auto degrees = Degrees(value);
        if (!degrees)
            return Invalid(name[0] == 'h' ? "--high" : "--low", value,
                           QStringLiteral("degrees in the readings' unit, as 85 or -5.5"));
        for (core::ReportLimits& limits : settings.Limits)
            (name[0] == 'h' ? limits.High : limits.Low) = *degrees;
    }
    if (settings.Limits[0].High && settings.Limits[0].Low &&
        *settings.Limits[0].Low > *settings.Limits[0].High)
        return QStringLiteral("--low must not be above --high");
    if (options.Set(QStringLiteral("channel"))) {
        const QString value = options.Value(QStringLiteral("channel"));
        if (value == QStringLiteral("t1"))
            settings.Channels = {true, false};
        else if (value == QStringLiteral("t2"))
            settings.Channels = {false, true};
        else if (value != QStringLiteral("both"))
            return Invalid("--channel", value, QStringLiteral("t1, t2 or both"));
    }
    if (options.Set(QStringLiteral("activation-energy"))) {
        const QString value = options.Value(QStringLiteral("activation-energy"));
        bool ok = false;
        const double energy = QLocale::c().toDouble(value, &ok);
        if (!ok || !(energy > 0) || energy > 1000)
            return Invalid("--activation-energy", value,
                           QStringLiteral("kJ/mol above 0 and up to 1000 (default 83.144)"));
        settings.ActivationEnergyKjPerMol = energy;
    }
    if (options.Set(QStringLiteral("lethality"))) {
        const QString value = options.Value(QStringLiteral("lethality"));
        const QStringList parts = value.split(u',');
        std::optional<double> reference;
        std::optional<double> z;
        if (parts.size() == 2) {
            reference = Degrees(parts[0]);
            z = Degrees(parts[1]);
        }
        if (value == QStringLiteral("f0"))
            settings.Lethality = core::kF0Lethality;
        else if (value == QStringLiteral("pu"))
            settings.Lethality = core::kPasteurizationUnits;
        else if (reference && z && *z > 0)
            settings.Lethality = core::LethalityParameters{*reference, *z};
        else
            return Invalid("--lethality", value,
                           QStringLiteral("f0, pu or TREF,Z in degrees Celsius, as 70,10"));
    }
    for (const char* name : {"from", "to"}) {
        const QString longName = QString::fromLatin1(name);
        if (!options.Set(longName)) continue;
        const QString value = options.Value(longName);
        const auto ms = TimeMs(value);
        if (!ms)
            return Invalid(name[0] == 'f' ? "--from" : "--to", value,
                           QStringLiteral("an ISO 8601 time, as 2026-12-07T08:00 or "
                                          "2026-12-07T08:00:00+01:00"));
        (name[0] == 'f' ? settings.FromMs : settings.ToMs) = *ms;
    }
    if (settings.FromMs && settings.ToMs && *settings.FromMs > *settings.ToMs)
        return QStringLiteral("--from must not be after --to");
    arguments.output = options.Value(QStringLiteral("output"));
    arguments.force = options.Set(QStringLiteral("force"));
    arguments.recover = options.Set(QStringLiteral("recover"));
    report.heading = options.Value(QStringLiteral("heading"));
    if (options.Set(QStringLiteral("format"))) {
        const QString value = options.Value(QStringLiteral("format"));
        if (value == QStringLiteral("pdf"))
            report.format = ReportFormat::Pdf;
        else if (value == QStringLiteral("json"))
            report.format = ReportFormat::Json;
        else if (value == QStringLiteral("text"))
            report.format = ReportFormat::Text;
        else
            return Invalid("--format", value, QStringLiteral("pdf, json or text"));
    } else if (arguments.output.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        report.format = ReportFormat::Pdf;
    } else if (arguments.output.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
        report.format = ReportFormat::Json;
    }
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
            return QStringLiteral("invalid argument '%1' (allowed: NAME=VALUE)").arg(assignment);
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

// An option under "o,output"-style names.
OptionRow Option(const char* names, const char* valueName, const char* help,
                 ValueKind kind = ValueKind::None, const QStringList& choices = {}) {
    return {QString::fromLatin1(names).split(u','), QString::fromLatin1(valueName),
            QString::fromUtf8(help), kind, choices};
}

OptionRow Switch(const char* names, const char* help) { return Option(names, "", help); }

OptionRow Device() {
    return Option("device", "PATH",
                  "the meter's serial device (an empty one is refused); without it every device "
                  "the system lists (and those in $KR820_PORTS, separated by ':') is tried",
                  ValueKind::Device);
}

OptionRow TimeFormatOption() {
    return Option("time-format", "WHEN",
                  "iso (default: local time, its offset in a column of its own in CSV and TSV), "
                  "utc (ending in Z) or epoch (Unix seconds)",
                  ValueKind::Choice, {"iso", "utc", "epoch"});
}

std::vector<OptionRow> Joined(std::vector<OptionRow> first, const std::vector<OptionRow>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

// The alarms watched over the readings, alike for live, watch and serve; `whatThen` ends the
// help of --alarm with what the command does with them.
std::vector<OptionRow> AlarmOptionRows(const char* whatThen) {
    return {
        {{QStringLiteral("alarm")},
         QStringLiteral("RULE"),
         QStringLiteral("watch an alarm, repeatable: 't1>85', 't2<-5' (degrees in the meter's "
                        "unit; above or below the limit by a tenth raises), 'probe' (a channel "
                        "without a valid value) or 'lost' (the meter stops answering); ") +
             QString::fromUtf8(whatThen),
         ValueKind::Number,
         {}},
        Option("hysteresis", "DEGREES",
               "how far back past its limit a reading must come to clear an alarm "
               "(default 0.5)",
               ValueKind::Number),
        Option("hold", "SECONDS",
               "how long a reading must stay beyond its limit before the alarm is raised "
               "(default 0)",
               ValueKind::Seconds),
        Option("on-alarm", "COMMAND",
               "run COMMAND (by /bin/sh) once per raise and once per clear, with "
               "KR820_ALARM, KR820_CHANNEL, KR820_KIND, KR820_VALUE, KR820_LIMIT, "
               "KR820_UNIT and KR820_TIME in its environment; it never holds up the "
               "readings",
               ValueKind::File),
        Option("on-alarm-timeout", "SECONDS",
               "kill a command still running after so long and say so (default 30)",
               ValueKind::Seconds),
    };
}

OptionRow CountOption() {
    return Option("count", "N", "stop after N readings (default: run until stopped)",
                  ValueKind::Number);
}

OptionRow DurationOption() {
    return Option("duration", "TIME",
                  "stop after so long from the first reading: seconds, or as 2h30m, 45m or 1d "
                  "(with --count, at whichever comes first)",
                  ValueKind::Duration);
}

std::vector<CommandRow> MakeTable() {
    std::vector<CommandRow> table;
    table.push_back({
        .id = Command::Ports,
        .name = QStringLiteral("ports"),
        .brief = QStringLiteral("ports [--probe]"),
        .summary = QStringLiteral("list the serial devices; --probe asks each for the meter"),
        .synopsis = QStringLiteral("[--probe]"),
        .description = QStringLiteral(
            "Lists the serial devices the system knows, then those in $KR820_PORTS."),
        .options = {Switch("probe",
                           "ask each device for the meter's model; the meter is marked "
                           "\"meter\"")},
        .finish = &FinishPorts,
        .run = &RunPortsCommand,
    });
    table.push_back({
        .id = Command::Live,
        .name = QStringLiteral("live"),
        .brief = QStringLiteral("live"),
        .summary = QStringLiteral("print the meter's readings as they come"),
        .synopsis = QStringLiteral(
            "[--device PATH] [--count N] [--duration TIME] [--every SECONDS] "
            "[--timeout SECONDS] [--format csv|jsonl|influx] [--time-format WHEN] [-o FILE] "
            "[--store FILE] [--alarm RULE]... [--hysteresis DEGREES] [--hold SECONDS] "
            "[--on-alarm COMMAND]"),
        .description = QStringLiteral(
            "Prints one line per reading on stdout (or appends it to -o FILE), each written at "
            "once: time,utc_offset,t1,t2,unit (CSV, with a header row), JSON lines, or InfluxDB "
            "line protocol (measurement kr820, tag device, fields t1 and t2; a channel without a "
            "value is left out, a reading without any valid channel is the field valid=false). A "
            "meter that stops answering is reported on stderr and waited for. Ctrl+C (SIGINT) or "
            "SIGTERM ends it after the line in hand, with exit code 130 or 143. A named device "
            "that cannot be opened ends it at once with its reason (exit code 3)."),
        .options = Joined(
            {
                Device(),
                CountOption(),
                DurationOption(),
                Option("every", "SECONDS",
                       "a reading every so many whole seconds (default 1, the meter's own rate)",
                       ValueKind::Seconds),
                Option("timeout", "SECONDS",
                       "end with exit code 3 when no meter answers for so long, from the start or "
                       "a lost link (default: wait for ever); a named device may appear meanwhile",
                       ValueKind::Seconds),
                Option("format", "FORMAT", "csv (default), jsonl or influx", ValueKind::Choice,
                       {"csv", "jsonl", "influx"}),
                TimeFormatOption(),
                Option("o,output", "FILE",
                       "append the rows to FILE, each written at once, with a header row only "
                       "when FILE is new or empty (as \">>\" does); \"-\" is stdout",
                       ValueKind::File),
                Option("store", "FILE",
                       "also keep the rows in the recording store FILE (made when missing, gone "
                       "on with when it is one), with the alarms' raises and clears and the "
                       "meter's losses; the desktop opens it, also while it grows",
                       ValueKind::File),
            },
            AlarmOptionRows("rows then carry an alarm column")),
        .finish = &FinishLive,
        .run = &RunLiveCommand,
    });
    table.push_back({
        .id = Command::Watch,
        .name = QStringLiteral("watch"),
        .brief = QStringLiteral("watch --alarm RULE..."),
        .summary = QStringLiteral("print only the alarms' raises and clears"),
        .synopsis = QStringLiteral(
            "--alarm RULE... [--device PATH] [--hysteresis DEGREES] [--hold SECONDS] "
            "[--on-alarm COMMAND] [--on-alarm-timeout SECONDS] [--exit-on-alarm] [--count N] "
            "[--duration TIME] [-o FILE]"),
        .description = QStringLiteral(
            "Watches the meter's readings for the alarms and prints one line per raise and per "
            "clear on stdout (or appends it to -o FILE), each written at once: the time (ISO "
            "8601), raised or cleared, the alarm (t1-high, t2-low, t1-probe, lost ...), the value "
            "and the limit, and the unit. With --exit-on-alarm the first raise ends it with exit "
            "code 10, once its --on-alarm command has run. A meter that stops answering is "
            "reported on stderr and waited for; a named device that cannot be opened ends it at "
            "once with its reason (exit code 3). Ctrl+C (SIGINT) or SIGTERM ends it with exit code "
            "130 or 143."),
        .options =
            Joined(AlarmOptionRows("at least one is needed"),
                   {
                       Device(),
                       Switch("exit-on-alarm",
                              "end with exit code 10 when an alarm is raised (after its --on-alarm "
                              "command)"),
                       CountOption(),
                       DurationOption(),
                       Option("o,output", "FILE",
                              "append the lines to FILE, each written at once; \"-\" is stdout",
                              ValueKind::File),
                   }),
        .exitCodesInHelp = true,
        .finish = &FinishWatch,
        .run = &RunWatchCommand,
    });
    table.push_back({
        .id = Command::Serve,
        .name = QStringLiteral("serve"),
        .brief = QStringLiteral("serve [--mqtt URL] [--metrics]"),
        .summary = QStringLiteral("feed one meter or several to MQTT and Prometheus"),
        .synopsis = QStringLiteral(
            "[--config FILE] [--device PATH[=NAME]]... [--every SECONDS] [--mqtt URL "
            "[--mqtt-ca FILE] [--mqtt-user USER] [--mqtt-password-file FILE] [--mqtt-queue N]] "
            "[--metrics [ADDRESS:]PORT] [--alarm RULE]... [--hysteresis DEGREES] "
            "[--hold SECONDS] [--on-alarm COMMAND] [--on-alarm-timeout SECONDS]"),
        .description = QStringLiteral(
            "A service: feeds the readings, the link state and the alarms of the meters named "
            "with --device, or of every meter found (and any plugged in later), to an MQTT broker "
            "(topics kr820/NAME/state, t1, t2, availability; Home Assistant discovery) and to "
            "Prometheus (/metrics). Each meter has a link of its own: one that stops answering is "
            "waited for while the others go on. The broker's password comes from "
            "--mqtt-password-file or $KR820_MQTT_PASSWORD, never from the command line. It logs "
            "on stderr (categories kr820.serve and kr820.feeds) and runs until SIGTERM or Ctrl+C, "
            "which end it cleanly with exit code 0, each meter's availability set to offline."),
        .options = Joined(
            {
                Option("config", "FILE",
                       "read options from FILE, one a line as on the command line ('device "
                       "/dev/ttyUSB0=oven room'; '#' starts a comment), where --config stands",
                       ValueKind::File),
                Option("device", "PATH[=NAME]",
                       "a meter to serve, repeatable, under NAME (default: its name in "
                       "/dev/serial/by-id where it has one, else PATH); without it every meter "
                       "found, now and later",
                       ValueKind::Device),
                Option("every", "SECONDS",
                       "a reading fed every so many whole seconds (default 1, the meter's own "
                       "rate); the alarms watch every reading",
                       ValueKind::Seconds),
                Option("mqtt", "URL",
                       "the broker: mqtt://HOST[:PORT] (1883) or mqtts://HOST[:PORT] (8883, TLS)",
                       ValueKind::None),
                Option("mqtt-ca", "FILE",
                       "the certificate authority that signed the mqtts:// broker's certificate "
                       "(default: the system's)",
                       ValueKind::File),
                Option("mqtt-user", "USER", "the user to log in to the broker as", ValueKind::None),
                Option("mqtt-password-file", "FILE",
                       "the broker's password: the first line of FILE (else "
                       "$KR820_MQTT_PASSWORD)",
                       ValueKind::File),
                Option("mqtt-queue", "N",
                       "readings kept per meter while the broker is away, the oldest dropped "
                       "first (default 86400: a day)",
                       ValueKind::Number),
                Option("metrics", "[ADDRESS:]PORT",
                       "serve /metrics for Prometheus on PORT (on 127.0.0.1 unless an ADDRESS is "
                       "given)",
                       ValueKind::None),
            },
            AlarmOptionRows("the feeds publish their state")),
        .finish = &FinishServe,
        .run = &RunServeCommand,
    });
    table.push_back({
        .id = Command::Download,
        .name = QStringLiteral("download"),
        .brief = QStringLiteral("download --output FILE.820"),
        .summary = QStringLiteral("copy the meter's logger memory into a collection file"),
        .synopsis = QStringLiteral("[--device PATH] --output FILE.820 [--force] [--recover]"),
        .description = QStringLiteral(
            "Downloads the meter's logger memory, as the desktop program's Load Data does, and "
            "writes it as a collection file. Progress goes to stderr: a bar on a terminal, "
            "otherwise a line per 10 %. The file appears only once it is complete; Ctrl+C or "
            "SIGTERM stops the meter sending and writes nothing."),
        .options =
            {
                Device(),
                Option("o,output", "FILE",
                       "the collection file to write, its name ending in .820, checked before the "
                       "meter is asked; a pipe or a device is written to as it is, \"-\" is "
                       "stdout",
                       ValueKind::File),
                Switch("force",
                       "replace FILE if it exists (otherwise it is kept and nothing is "
                       "downloaded)"),
                Switch("recover",
                       "a memory with a damaged data set is written anyway; the sets before the "
                       "damaged one are the ones that can be read (\"sets\"/\"export\" "
                       "--recover)"),
            },
        .exitCodesInHelp = true,
        .finish = &FinishDownload,
        .run = &RunDownloadCommand,
    });
    table.push_back({
        .id = Command::Sets,
        .name = QStringLiteral("sets"),
        .brief = QStringLiteral("sets FILE"),
        .summary = QStringLiteral("list the data sets of a collection file"),
        .synopsis = QStringLiteral("FILE [--json] [--recover] [--time-format WHEN]"),
        .description = QStringLiteral(
            "Lists the data sets of a file (\"-\": read from stdin), its kind told by its bytes: "
            "set (its number), start (ISO 8601) and its utc_offset, interval (seconds between two "
            "samples), samples (how many), type (thermocouple) and unit. A recording store "
            "(live --store) is one set, with a last column gaps: its stretches without "
            "readings."),
        .options =
            {
                Switch("json", "one JSON object per set instead of CSV"),
                Switch("recover", "of a collection with a damaged set, list the sets before it"),
                TimeFormatOption(),
            },
        .operandsLow = 1,
        .operandsHigh = 1,
        .operandKind = ValueKind::File,
        .operandName = QStringLiteral("FILE"),
        .finish = &FinishSets,
        .run = &RunSetsCommand,
    });
    table.push_back({
        .id = Command::Export,
        .name = QStringLiteral("export"),
        .brief = QStringLiteral("export FILE"),
        .summary = QStringLiteral("write a data file as CSV, TSV or JSON lines"),
        .synopsis = QStringLiteral("FILE [--set N | --all] [--format csv|tsv|jsonl] "
                                   "[--time-format WHEN] [--output PATH] [--recover]"),
        .description = QStringLiteral(
            "Writes the readings of a collection (.820) or single set file (.txt, .csv, .ghf; "
            "\"-\": read from stdin; a file's kind is told by its bytes where its extension is "
            "missing or says otherwise), or of a recording store (live --store; one data set, "
            "streamed), as RFC 4180 CSV with a header row "
            "(time,utc_offset,t1,t2,unit), as TSV or as JSON lines. Text files are read with this "
            "computer's regional settings, as the desktop program reads them."),
        .options =
            {
                Option("set", "N", "the data set to write, from 1 (default 1)", ValueKind::Number),
                Switch("all", "every data set, with a leading set column"),
                Option("format", "FORMAT", "csv (default), tsv or jsonl", ValueKind::Choice,
                       {"csv", "tsv", "jsonl"}),
                TimeFormatOption(),
                Option("o,output", "PATH",
                       "write PATH (replaced only once complete) instead of stdout; a pipe or a "
                       "device is written to as it is, \"-\" is stdout",
                       ValueKind::File),
                Switch("force", "replace PATH if it exists"),
                Switch("recover", "of a collection with a damaged set, write the sets before it"),
            },
        .operandsLow = 1,
        .operandsHigh = 1,
        .operandKind = ValueKind::File,
        .operandName = QStringLiteral("FILE"),
        .finish = &FinishExport,
        .run = &RunExportCommand,
    });
    table.push_back({
        .id = Command::Report,
        .name = QStringLiteral("report"),
        .brief = QStringLiteral("report FILE"),
        .summary =
            QStringLiteral("MKT, time outside limits, excursions, lethality: PDF, JSON, text"),
        .synopsis = QStringLiteral(
            "FILE [--set N | --all] [--high T] [--low T] [--channel t1|t2|both] "
            "[--activation-energy KJ] [--lethality f0|pu|TREF,Z] [--from TIME --to TIME] "
            "[--heading TEXT] [--format pdf|json|text] [-o FILE]"),
        .description = QStringLiteral(
            "Reports the readings of a file (as export reads it) or of a recording store "
            "(streamed, of any length): per channel the first and last time, the readings with and "
            "without a value and the gaps (left out, never read as 0), minimum and maximum with "
            "their first time, mean, standard deviation, the mean kinetic temperature (weighted by "
            "the time each reading stands for), for each limit the time past it and its "
            "excursions (runs of consecutive readings strictly past it), and with --lethality the "
            "lethality F in minutes and the time at or above its reference temperature. "
            "Temperatures are in the readings' unit. The report carries the SHA-256 of the rows "
            "export writes for the same readings (CSV, the default time format). The format is "
            "text unless -o ends in .pdf or .json or --format says otherwise; a PDF is one page "
            "(more when the alarm list is long)."),
        .options =
            {
                Option("set", "N", "the data set to report, from 1 (default 1)", ValueKind::Number),
                Switch("all", "every data set, as one series"),
                Option("high", "T",
                       "a high limit for both channels; a reading strictly above it is past it "
                       "(without --high and --low: a store's alarm limits)",
                       ValueKind::Number),
                Option("low", "T",
                       "a low limit for both channels; a reading strictly below it is past it",
                       ValueKind::Number),
                Option("channel", "CHANNEL", "t1, t2 or both (default)", ValueKind::Choice,
                       {"t1", "t2", "both"}),
                Option("activation-energy", "KJ",
                       "the activation energy of the mean kinetic temperature in kJ/mol "
                       "(default 83.144)",
                       ValueKind::Number),
                Option("lethality", "WHICH",
                       "f0 (Tref 121.1 °C, z 10 °C), pu (pasteurization units: Tref 60 °C, "
                       "z 7 °C) or TREF,Z in degrees Celsius",
                       ValueKind::Choice, {"f0", "pu"}),
                Option("from", "TIME",
                       "only readings at or after TIME (ISO 8601; local time without an offset)",
                       ValueKind::Number),
                Option("to", "TIME", "only readings at or before TIME", ValueKind::Number),
                Option("heading", "TEXT", "your own line under the title: lab, product, batch",
                       ValueKind::Number),
                Option("format", "FORMAT", "pdf, json or text", ValueKind::Choice,
                       {"pdf", "json", "text"}),
                Option("o,output", "PATH",
                       "write PATH (replaced only once complete) instead of stdout; \"-\" is "
                       "stdout",
                       ValueKind::File),
                Switch("force", "replace PATH if it exists"),
                Switch("recover", "of a collection with a damaged set, report the sets before it"),
            },
        .operandsLow = 1,
        .operandsHigh = 1,
        .operandKind = ValueKind::File,
        .operandName = QStringLiteral("FILE"),
        .exitCodesInHelp = true,
        .finish = &FinishReport,
        .run = &RunReportCommand,
    });
    table.push_back({
        .id = Command::SetupShow,
        .name = QStringLiteral("setup show"),
        .brief = QStringLiteral("setup show [--json]"),
        .summary = QStringLiteral("print the meter's setup"),
        .synopsis = QStringLiteral("[--device PATH] [--json]"),
        .description = QStringLiteral(
            "\"show\" prints the meter's setup, one NAME=VALUE a line, or one JSON object whose "
            "numbers are JSON numbers with their unit ({\"value\": 60, \"unit\": \"s\"})."),
        .options = {Device(), Switch("json", "one JSON object instead of NAME=VALUE lines")},
        .finish = &FinishSetupShow,
        .run = &RunSetupShowCommand,
    });
    table.push_back({
        .id = Command::SetupSet,
        .name = QStringLiteral("setup set"),
        .brief = QStringLiteral("setup set NAME=VALUE..."),
        .summary = QStringLiteral("change fields of the meter's setup"),
        .synopsis = QStringLiteral("[--device PATH] NAME=VALUE..."),
        .description = QStringLiteral(
            "\"set\" changes the named fields, checked as the desktop's setup dialog checks them, "
            "and writes the setup with the meter's clock left running as it was. Fields: type "
            "(K|J), print-start, print-stop, record-start, record-stop (2026-12-07T09:30:00), "
            "print-interval, record-interval (00:01:00 ...), print-mode (TEXT|GRAPH), "
            "graph-inch, scale-width, low-limit (-220 to 2400), auto-power-off (on|off), alarm "
            "(on|off), alarm-upper, alarm-lower (degrees, decimal point, -3276.8 to 3276.7); "
            "clock, memory-records and memory-left are read only. A value the meter cannot hold "
            "is refused."),
        .options = {Device()},
        .operandsLow = 1,
        .operandsHigh = -1,
        .operandName = QStringLiteral("NAME=VALUE"),
        .finish = &FinishSetupSet,
        .run = &RunSetupSetCommand,
    });
    table.push_back({
        .id = Command::ClockSync,
        .name = QStringLiteral("clock sync"),
        .brief = QStringLiteral("clock sync"),
        .summary = QStringLiteral("set the meter's clock to this computer's"),
        .synopsis = QStringLiteral("[--device PATH]"),
        .description = QStringLiteral(
            "Sets the meter's clock to this computer's local time and says how far off it was."),
        .options = {Device()},
        .finish = &FinishPlain,
        .run = &RunClockSyncCommand,
    });
    table.push_back({
        .id = Command::Erase,
        .name = QStringLiteral("erase"),
        .brief = QStringLiteral("erase --yes"),
        .summary = QStringLiteral("erase the meter's logger memory"),
        .synopsis = QStringLiteral("--yes [--device PATH]"),
        .description =
            QStringLiteral("Erases every data set recorded in the meter. Refused without --yes."),
        .options = {Device(), Switch("yes", "erase indeed")},
        .finish = &FinishErase,
        .run = &RunEraseCommand,
    });
    return table;
}

std::vector<OptionRow> MakeCommonOptions() {
    return {
        Switch("h,help", "describe the command"),
        Switch("V,version", "the program's version, Qt's and the build's revision"),
        Switch("q,quiet", "say nothing on stderr but errors"),
        Switch("v,verbose",
               "also say what the program does (logging category kr820.cli); twice (-vv), also "
               "the frames on the wire (kr820.link)"),
        Switch("vv", "the same as -v -v"),
    };
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
    {10, "watch --exit-on-alarm: an alarm was raised"},
    {130, "stopped by SIGINT (Ctrl+C)"},
    {143, "stopped by SIGTERM"},
};

}  // namespace

std::span<const CommandRow> CommandTable() {
    static const std::vector<CommandRow> table = MakeTable();
    return table;
}

const CommandRow* FindCommand(Command id) {
    for (const CommandRow& command : CommandTable())
        if (command.id == id) return &command;
    return nullptr;
}

std::span<const OptionRow> CommonOptions() {
    static const std::vector<OptionRow> options = MakeCommonOptions();
    return options;
}

QStringList CommandGroups() {
    QStringList groups;
    for (const CommandRow& command : CommandTable()) {
        const qsizetype blank = command.name.indexOf(u' ');
        if (blank > 0 && !groups.contains(command.name.left(blank)))
            groups << command.name.left(blank);
    }
    return groups;
}

std::span<const ExitCodeText> ExitCodeTexts() { return kExitCodes; }

}  // namespace kr820::cli
