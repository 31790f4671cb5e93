// SPDX-License-Identifier: MIT
// "kr820-cli live --count 1" against the emulator: from starting the process to its first
// reading on stdout, searching the given device and searching every device the system lists.
// Usage: cli_first_row_figure [runs, default 7]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "meter_emulator.h"

namespace {

// Milliseconds from the start to the first line after the header, or -1.
qint64 FirstRowMs(const QStringList& arguments, const QString& extraPorts) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KR820_PORTS"), extraPorts);
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(KR820_CLI_PATH), arguments);
    QByteArray seen;
    while (seen.count('\n') < 2 && clock.elapsed() < 20000) {
        process.waitForReadyRead(100);
        seen += process.readAllStandardOutput();
    }
    const qint64 elapsed = seen.count('\n') >= 2 ? clock.elapsed() : -1;
    process.waitForFinished(5000);
    return elapsed;
}

double Median(std::vector<qint64> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : static_cast<double>(values[values.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    kr820::emulator::MeterEmulator meter;
    std::string error;
    if (!meter.Start(&error)) {
        std::fprintf(stderr, "emulator: %s\n", error.c_str());
        return 1;
    }
    const QString device = QString::fromStdString(meter.DevicePath());
    std::vector<qint64> given;
    std::vector<qint64> searched;
    for (int run = 0; run < runs; ++run) {
        given.push_back(FirstRowMs({"live", "--count", "1", "--device", device}, {}));
        searched.push_back(FirstRowMs({"live", "--count", "1"}, device));
    }
    // A run without a row measured nothing: the figure is broken, not slow.
    for (const std::vector<qint64>* times : {&given, &searched}) {
        if (std::find(times->begin(), times->end(), -1) != times->end()) {
            std::fprintf(stderr, "a run printed no row within 20 s\n");
            return 1;
        }
    }
    std::printf("kr820-cli start to first live row, median of %d runs\n", runs);
    std::printf("  --device given:           %.0f ms\n", Median(given));
    std::printf("  searching every device:   %.0f ms (the emulator listed last)\n",
                Median(searched));
    return 0;
}
