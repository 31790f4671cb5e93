// SPDX-License-Identifier: MIT
#pragma once

#include <QTimer>
#include <functional>

#include "link/clock.h"

namespace kr820::cli {

// --duration of a reading command: calls `reached` once the link's clock has run so long since
// the start. Measured on the clock the link runs on, so that a test's fast clock shortens it too.
class DurationLimit {
public:
    // Nothing is watched for `seconds` 0.
    DurationLimit(link::Clock& clock, qint64 seconds, std::function<void()> reached);

private:
    QTimer m_look;
};

}  // namespace kr820::cli
