// SPDX-License-Identifier: MIT
// kr820-cli as a separate process: exit codes, checked-in expected exports, and the CSV read back
// the same whatever the regional settings of the process that wrote it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "logger_memory_builder.h"

namespace kr820::testing {
namespace {

const QString kFixtures = QStringLiteral(KR820_FIXTURES);

struct Finished {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A fixed time zone, so that the offsets in the expected files hold on any machine.
Finished RunCliProcess(const QStringList& arguments, const QString& locale = "en_US.UTF-8") {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TZ", "Europe/Berlin");
    environment.insert("LC_ALL", locale);
    environment.remove("DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KR820_CLI_PATH), arguments);
    if (!process.waitForFinished(20000)) {
        ADD_FAILURE() << "kr820-cli did not finish";
        process.kill();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray Expected(const QString& name) {
    QFile file(kFixtures + "/expected/" + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

bool LocaleInstalled(const QString& name) {
    QProcess locales;
    locales.start("locale", {"-a"});
    if (!locales.waitForFinished(5000)) return false;
    const QString wanted = QString(name).replace("UTF-8", "utf8");
    return QString::fromLatin1(locales.readAllStandardOutput()).split('\n').contains(wanted);
}

TEST(CliProcess, ExportAndSetsMatchTheCheckedInFiles) {
    struct Case {
        QStringList arguments;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {{"export", kFixtures + "/three_sets.820", "--all"}, "three_sets_all.csv"},
        {{"sets", kFixtures + "/three_sets.820"}, "three_sets_sets.csv"},
        // Text files follow the regional settings they were written with, here en_US.
        {{"export", kFixtures + "/en_US_three_points.txt"}, "en_US_three_points.csv"},
        {{"export", kFixtures + "/en_US_lf_short_line.csv"}, "en_US_lf_short_line.csv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        const Finished run = RunCliProcess(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, Expected(c.expected));
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST(CliProcess, BadInputGetsOneLineAndItsExitCode) {
    const Finished unknown = RunCliProcess({"export", "x.820", "--bogus"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.out.isEmpty());
    // One line naming the mistake, one saying where help is: not the whole help.
    EXPECT_EQ(unknown.err, "kr820-cli: unknown option '--bogus'\nTry 'kr820-cli export --help'.\n");

    const Finished missing = RunCliProcess({"export", "/nonexistent/none.820"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err.count('\n'), 1) << missing.err.toStdString();

    QTemporaryDir folder;
    const QString garbage = folder.filePath("garbage.820");
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(300, '\x7f'));
    file.close();
    const Finished damaged = RunCliProcess({"export", garbage});
    EXPECT_EQ(damaged.exitCode, 8);
    EXPECT_EQ(damaged.err.count('\n'), 1) << damaged.err.toStdString();
    EXPECT_TRUE(damaged.out.isEmpty());

    const Finished noSuchSet =
        RunCliProcess({"export", kFixtures + "/three_sets.820", "--set", "4"});
    EXPECT_EQ(noSuchSet.exitCode, 1);
    EXPECT_TRUE(noSuchSet.out.isEmpty());
}

TEST(CliProcess, OutputFileIsKeptUnlessForcedAndNeverLeftHalfWritten) {
    QTemporaryDir folder;
    const QString target = folder.filePath("out.csv");
    {
        QFile earlier(target);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
    }
    const QStringList exportAll{"export", kFixtures + "/three_sets.820", "--all", "-o", target};
    EXPECT_EQ(RunCliProcess(exportAll).exitCode, 1);
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "earlier");
    kept.close();

    EXPECT_EQ(RunCliProcess(exportAll + QStringList{"--force"}).exitCode, 0);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), Expected("three_sets_all.csv"));

    // A folder that is not there: refused, and nothing appears.
    const QString nowhere = folder.filePath("missing/out.csv");
    EXPECT_EQ(RunCliProcess({"export", kFixtures + "/three_sets.820", "-o", nowhere}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(CliProcess, OffsetsFollowTheClockChangeWithinADay) {
    // Berlin leaves summer time at 03:00 on 25 October 2026: hourly samples from 01:00.
    emulator::DataSet set;
    set.start = {2026, 10, 25, 1, 0, 0};
    set.rateCode = 12;  // one hour
    set.pairs.assign(4, {200, 210});
    QTemporaryDir folder;
    const QString path = folder.filePath("autumn.820");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(emulator::BuildMemoryImage({set})));
    file.close();
    const Finished run = RunCliProcess({"export", path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_TRUE(lines[1].startsWith("2026-10-25T01:00:00,+02:00,20.0,21.0,C"));
    // The meter samples every hour of real time: 02:00 comes twice that night, with each offset.
    EXPECT_TRUE(lines[2].startsWith("2026-10-25T02:00:00,+02:00"));
    EXPECT_TRUE(lines[3].startsWith("2026-10-25T02:00:00,+01:00"));
    EXPECT_TRUE(lines[4].startsWith("2026-10-25T03:00:00,+01:00"));
}

TEST(CliProcess, TextThatIsNoDataIsRefusedNamingItsFirstLine) {
    QTemporaryDir folder;
    const QString path = folder.filePath("passwd.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "root:x:0:0:root:/root:/bin/bash\ndaemon:x:1:1:daemon:/usr/sbin:/usr/sbin/nologin\n");
    file.close();
    for (const char* command : {"export", "sets"}) {
        SCOPED_TRACE(command);
        const Finished run = RunCliProcess({command, path});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(path.toUtf8()));
        EXPECT_TRUE(run.err.contains("line 1, \"root:x:0:0:root:/root:/bin/bash\""))
            << run.err.toStdString();
    }
}

TEST(CliProcess, AnExportReadsBackAndExportsTheSameBytes) {
    QTemporaryDir folder;
    const QString csv = folder.filePath("all.csv");
    ASSERT_EQ(RunCliProcess({"export", kFixtures + "/three_sets.820", "--all", "-o", csv}).exitCode,
              0);
    const Finished again = RunCliProcess({"export", csv, "--all"});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(again.out, Expected("three_sets_all.csv"));
    EXPECT_TRUE(again.err.isEmpty()) << again.err.toStdString();
    const Finished sets = RunCliProcess({"sets", csv});
    EXPECT_EQ(sets.exitCode, 0);
    EXPECT_TRUE(sets.out.contains("\n2,2024-03-14T13:00:00,+01:00,60,20,,F\r\n"))
        << sets.out.toStdString();
}

// The numbers of a CSV export as QLocale::c() reads them: (t1, t2) per row, NaN for empty.
std::vector<std::pair<double, double>> NumbersReadByQt(const QByteArray& csv) {
    std::vector<std::pair<double, double>> numbers;
    const QList<QByteArray> lines = csv.split('\n');
    const auto value = [](const QByteArray& field) {
        bool ok = false;
        const double read = QLocale::c().toDouble(QString::fromLatin1(field), &ok);
        return ok ? read : std::nan("");
    };
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].trimmed().split(',');
        if (fields.size() < 6) continue;  // set,time,utc_offset,t1,t2,unit
        numbers.emplace_back(value(fields[3]), value(fields[4]));
    }
    return numbers;
}

// The same read by Python's csv module, run under the same regional settings.
std::vector<std::pair<double, double>> NumbersReadByPython(const QString& path,
                                                           const QString& locale) {
    const QString python = QStandardPaths::findExecutable("python3");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", locale);
    process.setProcessEnvironment(environment);
    process.start(python, {"-c", R"(
import csv, locale, sys
locale.setlocale(locale.LC_ALL, '')
with open(sys.argv[1], newline='') as f:
    rows = list(csv.reader(f))
assert rows[0] == ['set', 'time', 'utc_offset', 't1', 't2', 'unit'], rows[0]
for row in rows[1:]:
    print(' '.join(repr(float(x)) if x else 'nan' for x in row[3:5]))
)",
                           path});
    std::vector<std::pair<double, double>> numbers;
    if (!process.waitForFinished(20000) || process.exitCode() != 0) {
        ADD_FAILURE() << "python3: " << process.readAllStandardError().toStdString();
        return numbers;
    }
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 2) continue;
        const auto value = [](const QByteArray& text) {
            return text == "nan" ? std::nan("") : QLocale::c().toDouble(QString::fromLatin1(text));
        };
        numbers.emplace_back(value(fields[0]), value(fields[1]));
    }
    return numbers;
}

bool SameNumbers(const std::vector<std::pair<double, double>>& a,
                 const std::vector<std::pair<double, double>>& b) {
    if (a.size() != b.size()) return false;
    const auto same = [](double x, double y) { return (std::isnan(x) && std::isnan(y)) || x == y; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!same(a[i].first, b[i].first) || !same(a[i].second, b[i].second)) return false;
    return true;
}

TEST(CliProcess, CsvReadsBackTheSameUnderEveryRegionalSetting) {
    const QByteArray expected = Expected("three_sets_all.csv");
    const auto reference = NumbersReadByQt(expected);
    ASSERT_EQ(reference.size(), 98u);
    EXPECT_TRUE(std::any_of(reference.begin(), reference.end(), [](const auto& pair) {
        return std::isnan(pair.second);
    })) << "the fixture has an out-of-range sample, left empty";
    const bool withPython = !QStandardPaths::findExecutable("python3").isEmpty();
    int localesTried = 0;
    for (const QString locale : {"en_US.UTF-8", "de_DE.UTF-8", "sv_SE.UTF-8"}) {
        SCOPED_TRACE(locale.toStdString());
        if (!LocaleInstalled(locale)) continue;
        ++localesTried;
        const Finished run =
            RunCliProcess({"export", kFixtures + "/three_sets.820", "--all"}, locale);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, expected);
        EXPECT_TRUE(SameNumbers(NumbersReadByQt(run.out), reference));
        if (!withPython) continue;
        QTemporaryDir folder;
        const QString path = folder.filePath("export.csv");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(run.out);
        file.close();
        EXPECT_TRUE(SameNumbers(NumbersReadByPython(path, locale), reference));
    }
    if (localesTried == 0) GTEST_SKIP() << "none of the locales is installed (locale -a)";
}

}  // namespace
}  // namespace kr820::testing
