// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/setup/meter_setup.h"

namespace kr820::core {

// The setup dialog's fields under plain names, for scripts: "record-interval", "alarm-upper", ...
// Values are written without regional settings: times as "2026-12-07T09:30:00", numbers with a
// decimal point, choices as the dialog lists them ("00:01:00", "on", "K").

// Every field in the order the dialog shows them, the read-only ones ("clock", "memory-records",
// "memory-left") last.
QStringList SetupFieldNames();
bool IsWritableSetupField(const QString& name);

// The field's value; empty for a name that is none.
QString SetupFieldValue(const MeterSetup& setup, const QString& name);

// Sets one field as the dialog would from `value`. Returns the line that refuses it (an unknown
// or read-only name, a value that is no choice or no number), leaving `setup` as it was.
std::optional<QString> SetSetupField(MeterSetup& setup, const QString& name, const QString& value);

}  // namespace kr820::core
