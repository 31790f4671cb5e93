// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

#include "core/chart/chart_model.h"
#include "graph/frm_graph.h"
#include "main_window_rig.h"
#include "meter/frm_setup_real_time.h"

namespace kr820::testing {

// The main window with the ticks driven by the test, the live reading set by it and the time of
// each tick one second after the last.
class RealTimeRig : public MainWindowRig {
protected:
    void StartTicking() { StartTicking(fastClock); }
    void StartTicking(link::Clock& clock) {
        StartProgram(clock);
        if (::testing::Test::HasFatalFailure()) return;
        window->MainTimer().stop();  // the test makes the ticks
        window->Link().SetWallClock([this] { return clockMs; });
        Live(25.0f, 30.0f);
    }
    void Live(float t1, float t2, quint16 status = 0, quint16 invalid = 0) {
        core::LiveReading live;
        live.Celsius[0] = t1;
        live.Celsius[1] = t2;
        live.Status = status;
        live.Invalid = invalid;
        window->Link().Readings().Publish(live, clockMs);
    }
    // Answers the set-up dialog with a number and a rate index, or leaves it with Cancel.
    void AnswerSetup(const QString& number, int rateIndex, bool start = true) {
        prompter.onDialog = [this, number, rateIndex, start](QDialog& dialog) {
            auto* setup = qobject_cast<meter::TfrmSetupRealTime*>(&dialog);
            if (!setup) return int(QDialog::Rejected);
            setupPeriod = setup->findChild<QLineEdit*>("edtPeriod")->text();
            setup->findChild<QLineEdit*>("edtRealTimeNo")->setText(number);
            setup->findChild<QComboBox*>("txtRate")->setCurrentIndex(rateIndex);
            return int(start ? QDialog::Accepted : QDialog::Rejected);
        };
    }
    // One second later, with a fresh live frame or without.
    void Tick(bool freshFrame = true) {
        clockMs += 1000;
        window->State().FrameReceived = freshFrame;
        window->State().Connected = true;
        window->Link().MainTimerTimer();
    }
    graph::TfrmGraph* Graph() const { return window->RealTimeGraphWindow(); }
    const core::ChartData& Data() const { return Graph()->Chart().Data(); }
    QString Box(const char* name) const {
        auto* box = Graph()->findChild<QLineEdit*>(name);
        return box ? box->text() : QStringLiteral("<missing>");
    }

    // The stores kept for fixed-length recordings not yet saved or given up.
    QStringList UnsavedStores() const {
        const QDir folder(QDir(home.path()).filePath("unsaved"));
        QStringList paths;
        for (const QString& name : folder.entryList({"*.kr8db"}, QDir::Files))
            paths << folder.filePath(name);
        return paths;
    }
    // The one such store, or none.
    QString UnsavedStore() const {
        const QStringList paths = UnsavedStores();
        return paths.size() == 1 ? paths[0] : QString();
    }

    qint64 clockMs = 0;
    QString setupPeriod;
};

}  // namespace kr820::testing
