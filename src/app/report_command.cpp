// SPDX-License-Identifier: MIT
#include "app/report_command.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSettings>

#include "app/command_lock.h"
#include "app/file_commands.h"
#include "app/spreadsheet_export.h"
#include "app/version.h"
#include "core/alarms/alarm_settings.h"
#include "core/files/save_file.h"
#include "core/live/temperature_units.h"
#include "core/report/report_intake.h"
#include "core/settings/program_folder.h"
#include "graph/frm_graph.h"
#include "print/report_dialog.h"
#include "report/report_page.h"
#include "store/store_report.h"
#include "store/stored_recording.h"
#include "ui/prompter.h"

namespace kr820::app {
namespace {

core::DisplayUnit UnitOfWindow(const graph::TfrmGraph& window) {
    return window.Unit().contains(u'F') ? core::DisplayUnit::Fahrenheit
                                        : core::DisplayUnit::Celsius;
}

// The alarms' limits that are on, in the window's unit.
std::array<core::ReportLimits, 2> AlarmLimits(const core::AlarmSettings& alarms,
                                              core::DisplayUnit unit) {
    std::array<core::ReportLimits, 2> limits;
    const core::DisplayUnit from = alarms.LimitUnit.value_or(unit);
    for (int c = 0; c < 2; ++c) {
        const core::ChannelAlarmSettings& channel = alarms.Channels[c];
        if (channel.High.On) limits[c].High = core::ConvertDegrees(channel.High.Limit, from, unit);
        if (channel.Low.On) limits[c].Low = core::ConvertDegrees(channel.Low.Limit, from, unit);
    }
    return limits;
}

}  // namespace

bool ReportOnWindow(QWidget& owner, ui::Prompter& prompter, graph::TfrmGraph& window,
                    const core::AlarmSettings& alarms, QPrinter& printer) {
    store::StoredRecording* recording = window.Recording();
    std::vector<core::ReadingRow> rows;
    if (!recording) rows = WindowRows(window);
    if (recording ? recording->Count() == 0 : rows.empty()) {
        prompter.Message(&owner, kNothingToReportMessage);
        return false;
    }
    const core::DisplayUnit unit = UnitOfWindow(window);
    const std::unique_ptr<QSettings> settings = core::OpenProgramSettings();
    print::ReportChoice preset = print::ReadReportChoice(*settings);
    preset.Limits = AlarmLimits(alarms, unit);
    const std::optional<std::pair<qint64, qint64>> shown = window.ShownTimesMs();
    const std::optional<print::ReportChoice> choice =
        print::AskReport(prompter, &owner, preset, shown.has_value(), core::UnitSymbol(unit));
    if (!choice) return false;
    print::WriteReportChoice(*settings, *choice);

    core::ReportSettings reportSettings = choice->Settings();
    core::ReportDocument document;
    document.Heading = choice->Heading;
    document.Source = window.windowTitle();
    document.Range = QStringLiteral("all readings");
    if (choice->ZoomOnly && shown) {
        reportSettings.FromMs = shown->first;
        reportSettings.ToMs = shown->second;
        document.Range =
            QStringLiteral("the part shown, %1 to %2")
                .arg(core::IsoTimeAt(shown->first / 1000), core::IsoTimeAt(shown->second / 1000));
    }
    document.Program = QStringLiteral("kr820 %1").arg(QStringLiteral(KR820_VERSION_TEXT));
    document.MadeAtMs = QDateTime::currentMSecsSinceEpoch();
    if (recording) {
        const CloseRefusal keepOpen(&window);
        store::ReportStore(recording->Reader(), reportSettings, document);
    } else {
        core::ReportRows(rows, reportSettings, false, document);
    }

    if (choice->Print) {
        if (!prompter.PrintDialog(&owner, printer)) return false;
        return report::PaintReport(printer, document);
    }
    QString path = prompter.SaveFileName(
        &owner,
        QDir(core::FileDialogFolder()).filePath(QFileInfo(window.windowTitle()).completeBaseName()),
        kReportPdfFilter, QStringLiteral("pdf"), nullptr);
    if (path.isEmpty()) return false;
    core::RememberFileDialogFolder(path);
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    QString problem;
    const std::optional<QByteArray> pdf = report::ReportPdf(document, &problem);
    if (!pdf) {
        prompter.Message(&owner, problem);
        return false;
    }
    const core::WriteOutcome outcome = core::WriteFileAtomically(path, *pdf);
    if (!outcome.Written()) prompter.Message(&owner, WriteFailureMessage(path, outcome));
    return outcome.Written();
}

}  // namespace kr820::app
