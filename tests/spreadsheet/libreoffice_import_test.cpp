// SPDX-License-Identifier: MIT
// The README's LibreOffice import lines, run headless under a decimal-comma language: the times
// arrive as dates, the values as numbers and the offset as text. Skipped where soffice, unzip or
// the German language data is not installed.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace kr820::testing {
namespace {

const QString kSource = QStringLiteral(KR820_FIXTURES "/../..");

bool LocaleInstalled(const QString& name) {
    QProcess locales;
    locales.start("locale", {"-a"});
    if (!locales.waitForFinished(5000)) return false;
    return QString::fromLatin1(locales.readAllStandardOutput())
        .split('\n')
        .contains(QString(name).replace("UTF-8", "utf8"));
}

// Runs `program` in `folder` under German regional settings; its standard output, or empty.
QByteArray RunGerman(const QString& program, const QStringList& arguments, const QString& folder,
                     const QString& stdoutFile = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "de_DE.UTF-8");
    environment.insert("LANG", "de_DE.UTF-8");
    environment.insert("TZ", "Europe/Berlin");
    environment.insert("HOME", folder);  // soffice keeps a profile there
    environment.remove("DISPLAY");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    if (!stdoutFile.isEmpty()) process.setStandardOutputFile(stdoutFile);
    process.start(program, arguments);
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return {};
    }
    EXPECT_EQ(process.exitCode(), 0)
        << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// The value types of the cells of the sheet's second row (the first data row).
QStringList SecondRowTypes(const QByteArray& contentXml) {
    const QRegularExpression row(QStringLiteral("<table:table-row[^>]*>(.*?)</table:table-row>"),
                                 QRegularExpression::DotMatchesEverythingOption);
    auto rows = row.globalMatch(QString::fromUtf8(contentXml));
    if (!rows.hasNext()) return {};
    rows.next();
    if (!rows.hasNext()) return {};
    const QString cells = rows.next().captured(1);
    QStringList types;
    auto type =
        QRegularExpression(QStringLiteral("office:value-type=\"(\\w+)\"")).globalMatch(cells);
    while (type.hasNext()) types << type.next().captured(1);
    return types;
}

TEST(LibreOfficeImport, TheReadmeLinesReadDatesNumbersAndTextUnderADecimalComma) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    const QString unzip = QStandardPaths::findExecutable("unzip");
    if (soffice.isEmpty() || unzip.isEmpty() || !LocaleInstalled("de_DE.UTF-8"))
        GTEST_SKIP() << "needs soffice (libreoffice-calc-nogui), unzip and de_DE.UTF-8";

    QFile readme(kSource + "/README.md");
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QRegularExpression line(
        QStringLiteral("soffice --headless --infilter=(\\S+) --convert-to ods (\\S+)\\s+# (.*)"));
    auto lines = line.globalMatch(QString::fromUtf8(readme.readAll()));
    int tried = 0;
    while (lines.hasNext()) {
        const QRegularExpressionMatch match = lines.next();
        SCOPED_TRACE(match.captured(0).toStdString());
        const bool all = match.captured(3).contains("--all");
        QTemporaryDir folder;
        const QString csv = folder.filePath(match.captured(2));
        RunGerman(QStringLiteral(KR820_CLI_PATH),
                  all ? QStringList{"export", KR820_FIXTURES "/three_sets.820", "--all"}
                      : QStringList{"export", KR820_FIXTURES "/three_sets.820", "--set", "2"},
                  folder.path(), csv);
        RunGerman(soffice,
                  {"--headless", "-env:UserInstallation=file://" + folder.filePath("profile"),
                   "--infilter=" + match.captured(1), "--convert-to", "ods", "--outdir",
                   folder.path(), csv},
                  folder.path());
        const QString ods = QString(csv).replace(QRegularExpression("\\.csv$"), ".ods");
        const QByteArray content = RunGerman(unzip, {"-p", ods, "content.xml"}, folder.path());
        // A row of --set 2 has a T2 value on every row; the offset is text, never a time.
        const QStringList expected =
            all ? QStringList{"float", "date", "string", "float", "float", "string"}
                : QStringList{"date", "string", "float", "float", "string"};
        EXPECT_EQ(SecondRowTypes(content).join(' ').toStdString(),
                  expected.join(' ').toStdString());
        EXPECT_TRUE(content.contains("<text:p>+01:00</text:p>"));
        ++tried;
    }
    EXPECT_EQ(tried, 2);
}

}  // namespace
}  // namespace kr820::testing
