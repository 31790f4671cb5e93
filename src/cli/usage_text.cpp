// SPDX-License-Identifier: MIT
#include "cli/usage_text.h"

namespace kr820::cli {
namespace {

const char kExitCodes[] = R"(Exit codes:
  0  done
  1  a file could not be read or written, or a value was refused
  2  bad command line (unknown command or option, missing or bad argument)
  3  no meter answered
  4  the meter is recording; stop recording on the meter first
  5  the meter's memory holds no recorded data
  6  the meter did not answer the memory header request
  7  the memory transfer broke off
  8  the memory holds a damaged data set or cannot be decoded
  9  the meter did not answer or confirm a setup, clock or erase exchange
130  stopped by SIGINT (Ctrl+C)
143  stopped by SIGTERM
)";

const char kDeviceOption[] =
    "  --device PATH      the meter's serial device; without it every device the system lists\n"
    "                     (and those in $KR820_PORTS, separated by ':') is tried\n";

QString Text(const char* text) { return QString::fromUtf8(text); }

}  // namespace

QString ProgramUsage() {
    return Text(R"(Usage: kr820-cli COMMAND [OPTIONS]

Talks to a KR820 thermocouple recorder on a serial port and converts its files, without a display.

Commands:
  ports [--probe]                 list the serial devices; --probe asks each for the meter
  live                            print the meter's readings as they come
  download --output FILE.820      copy the meter's logger memory into a collection file
  sets FILE                       list the data sets of a collection file
  export FILE                     write a data file as CSV, TSV or JSON lines
  setup show [--json]             print the meter's setup
  setup set NAME=VALUE...         change fields of the meter's setup
  clock sync                      set the meter's clock to this computer's
  erase --yes                     erase the meter's logger memory

"kr820-cli COMMAND --help" describes a command. Times are ISO 8601 local times; in CSV and TSV
the offset from UTC has a column of its own (utc_offset), so that spreadsheets read the time as a
date, in JSON lines it ends the time. Numbers have a decimal point whatever the regional settings;
a channel out of range or without a valid value is left empty (null in JSON lines).

)") + Text(kExitCodes);
}

QString CommandUsage(Command command) {
    switch (command) {
        case Command::Help:
            return ProgramUsage();
        case Command::Ports:
            return Text(R"(Usage: kr820-cli ports [--probe]

Lists the serial devices the system knows, then those in $KR820_PORTS.
  --probe            ask each device for the meter's model; the meter is marked "meter"
)");
        case Command::Live:
            return Text(
                       R"(Usage: kr820-cli live [--device PATH] [--count N] [--every SECONDS] [--timeout SECONDS] [--format csv|jsonl|influx]
                      [--alarm RULE]... [--hysteresis DEGREES] [--hold SECONDS] [--on-alarm COMMAND]

Prints one line per reading on stdout, each written at once: time,utc_offset,t1,t2,unit (CSV,
with a header row), JSON lines, or InfluxDB line protocol (measurement kr820, tag device, fields t1 and t2; a
channel without a value is left out). A meter that stops answering is reported on stderr and
waited for. Ctrl+C (SIGINT) or SIGTERM ends it after the line in hand, with exit code 130 or 143.
A named device that cannot be opened ends it at once with its reason (exit code 3).
)") + Text(kDeviceOption) +
                   Text(R"(  --count N          stop after N readings (default: run until stopped)
  --every SECONDS    a reading every so many whole seconds (default 1, the meter's own rate)
  --timeout SECONDS  end with exit code 3 when no meter answers for so long, from the start or
                     a lost link (default: wait for ever); a named device may appear meanwhile
  --format FORMAT    csv (default), jsonl or influx
  --alarm RULE       watch for t1>LIMIT, t1<LIMIT, t2>LIMIT, t2<LIMIT (degrees the meter shows,
                     raised strictly beyond the limit), probe (a channel without a valid value)
                     or lost (the meter stops answering); repeatable. Rows get an alarm column
                     (a field in jsonl and influx): the active alarms, e.g. t1-high;lost
  --hysteresis DEGREES  how far back past the limit a raised alarm clears (default 0.5)
  --hold SECONDS     how long a channel must stay beyond a limit before it is raised (default 0)
  --on-alarm COMMAND run by /bin/sh once per raise and once per clear, without holding up the
                     readings, with KR820_ALARM (raised or cleared), KR820_KIND, KR820_CHANNEL,
                     KR820_VALUE, KR820_LIMIT, KR820_UNIT and KR820_TIME in its environment; its
                     output goes to stderr, a failure is reported there
  --on-alarm-timeout SECONDS  a command still running then is killed and reported (default 30)
)");
        case Command::Download:
            return Text(
                       R"(Usage: kr820-cli download [--device PATH] --output FILE.820 [--force] [--recover]

Downloads the meter's logger memory, as the desktop program's Load Data does, and writes it as a
collection file. Progress goes to stderr: a bar on a terminal, otherwise a line per 10 %. The file
appears only once it is complete; Ctrl+C or SIGTERM stops the meter sending and writes nothing.
)") + Text(kDeviceOption) +
                   Text(
                       R"(  -o, --output FILE  the collection file to write, checked before the meter is asked; a pipe
                     or a device is written to as it is, "-" is stdout
  --force            replace FILE if it exists (otherwise it is kept and nothing is downloaded)
  --recover          a memory with a damaged data set is written anyway; the sets before the
                     damaged one are the ones that can be read ("sets"/"export" --recover)

)") + Text(kExitCodes);
        case Command::Sets:
            return Text(R"(Usage: kr820-cli sets FILE [--json] [--recover]

Lists the data sets of a file: number, start (ISO 8601) and its utc_offset, interval in seconds,
samples, thermocouple type and unit.
  --json             one JSON object per set instead of CSV
  --recover          of a collection with a damaged set, list the sets before it
)");
        case Command::Export:
            return Text(
                R"(Usage: kr820-cli export FILE [--set N | --all] [--format csv|tsv|jsonl] [--output PATH] [--recover]

Writes the readings of a collection (.820) or single set file (.txt, .csv, .ghf) as RFC 4180 CSV
with a header row (time,utc_offset,t1,t2,unit), as TSV or as JSON lines. Text files are read with this
computer's regional settings, as the desktop program reads them.
  --set N            the data set to write, from 1 (default 1)
  --all              every data set, with a leading set column
  --format FORMAT    csv (default), tsv or jsonl
  -o, --output PATH  write PATH (replaced only once complete) instead of stdout; a pipe or a
                     device is written to as it is, "-" is stdout
  --force            replace PATH if it exists
  --recover          of a collection with a damaged set, write the sets before it
)");
        case Command::SetupShow:
        case Command::SetupSet:
            return Text(R"(Usage: kr820-cli setup show [--device PATH] [--json]
       kr820-cli setup set [--device PATH] NAME=VALUE...

"show" prints the meter's setup, one NAME=VALUE a line (or one JSON object). "set" changes the
named fields, checked as the desktop's setup dialog checks them, and writes the setup with the
meter's clock left running as it was. Fields: type (K|J), print-start, print-stop, record-start,
record-stop (2026-12-07T09:30:00), print-interval, record-interval (00:01:00 ...), print-mode
(TEXT|GRAPH), graph-inch, scale-width, low-limit (-220 to 2400), auto-power-off (on|off), alarm
(on|off), alarm-upper, alarm-lower (degrees, decimal point, -3276.8 to 3276.7); clock,
memory-records and memory-left are read only. A value the meter cannot hold is refused.
)") + Text(kDeviceOption);
        case Command::ClockSync:
            return Text(R"(Usage: kr820-cli clock sync [--device PATH]

Sets the meter's clock to this computer's local time and says how far off it was.
)") + Text(kDeviceOption);
        case Command::Erase:
            return Text(R"(Usage: kr820-cli erase --yes [--device PATH]

Erases every data set recorded in the meter. Refused without --yes.
)") + Text(kDeviceOption);
    }
    return ProgramUsage();
}

}  // namespace kr820::cli
