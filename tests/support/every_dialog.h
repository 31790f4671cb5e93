// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "app/frm_about.h"
#include "app/frm_alarms.h"
#include "app/frm_publish.h"
#include "core/chart/chart_model.h"
#include "fake_prompter.h"
#include "graph/chart_settings_dialog.h"
#include "graph/frm_anno_edit.h"
#include "graph/frm_setup_scale.h"
#include "meter/frm_setup.h"
#include "meter/frm_setup_real_time.h"
#include "print/frm_print_option.h"
#include "print/report_dialog.h"
#include "ui/frm_info.h"
#include "ui/frm_open_save.h"
#include "ui/frm_scope.h"

namespace kr820::testing {

// One of each of the program's dialogs, for the checks every dialog must pass (names for screen
// readers, mnemonics, size). `chart` outlives them.
inline std::vector<std::unique_ptr<QDialog>> EveryDialog(FakePrompter& prompter,
                                                         core::ChartModel& chart) {
    std::vector<std::unique_ptr<QDialog>> dialogs;
    auto setup = std::make_unique<meter::TfrmSetup>();
    setup->setObjectName("frmSetup");
    dialogs.push_back(std::move(setup));
    dialogs.push_back(
        std::make_unique<graph::TfrmSetupScale>(core::ScaleBoxValues{0, 50, -10, 100}, prompter));
    dialogs.push_back(std::make_unique<meter::TfrmSetupRealTime>(1));
    dialogs.push_back(std::make_unique<print::TfrmPrintOption>());
    dialogs.push_back(std::make_unique<graph::TfrmAnnoEdit>());
    dialogs.push_back(std::make_unique<graph::ChartSettingsDialog>(chart));
    dialogs.push_back(std::make_unique<app::TfrmAbout>());
    dialogs.push_back(std::make_unique<ui::TfrmScope>());
    dialogs.push_back(std::make_unique<ui::TfrmOpenSave>(QStringLiteral("Open")));
    dialogs.push_back(std::make_unique<ui::TfrmInfo>());
    dialogs.push_back(std::make_unique<app::TfrmPublish>(app::PublishSettings{}, prompter));
    dialogs.push_back(std::make_unique<app::TfrmAlarms>(core::AlarmPreferences{}, std::nullopt,
                                                        std::nullopt, prompter));
    dialogs.push_back(std::make_unique<print::ReportDialog>(nullptr, print::ReportChoice{}, true,
                                                            QStringLiteral("°C")));
    return dialogs;
}

}  // namespace kr820::testing
