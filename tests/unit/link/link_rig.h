// SPDX-License-Identifier: MIT
#pragma once

#include <QTimer>

#include "core/state/app_state.h"
#include "fake_link_view.h"
#include "jumping_clock.h"
#include "link/meter_link.h"
#include "scripted_meter.h"
#include "scripted_port.h"

namespace kr820::testing {

// The link with its state, both ports, timer and view, as the main window puts them together,
// on scripted ports and a jumping clock.
struct ScriptedLinkRig {
    ScriptedLinkRig() : comm1(clock), comm2(clock), link(state, comm1, timer, view, clock) {
        view.state = &state;
    }

    // `meter` answers on the device `name`, whichever port opens it.
    void Attach(const QString& name, ScriptedMeter& meter) {
        comm1.AddDevice(name, meter.Answerer());
        comm2.AddDevice(name, meter.Answerer());
    }

    JumpingClock clock;
    core::AppState state;
    ScriptedPort comm1;
    ScriptedPort comm2;
    QTimer timer;
    FakeLinkView view;
    link::MeterLink link;
};

}  // namespace kr820::testing
