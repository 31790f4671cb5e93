// SPDX-License-Identifier: MIT
#include "core/data/limit_values.h"

namespace kr820::core {

QString TemperatureText(double value, int decimals, const QLocale& locale) {
    if (IsShownAsOL(value)) return QString::fromLatin1(kOLText);
    return locale.toString(value, 'f', decimals);
}

}  // namespace kr820::core
