// SPDX-License-Identifier: MIT
#include "core/data/sample_value.h"

#include "core/data/limit_values.h"
#include "core/data/set_flags.h"
#include "core/live/temperature_units.h"

namespace kr820::core {

float StoredSampleValue(std::int32_t tenthsCelsius, std::uint8_t flags) {
    if (tenthsCelsius < kMinTenthsCelsius) return UnderLimitValue;
    const std::int32_t max = IsTypeJ(flags) ? kTypeJMaxTenthsCelsius : kTypeKMaxTenthsCelsius;
    if (tenthsCelsius > max) return OverLimitValue;
    const double celsius = tenthsCelsius / 10.0;
    return static_cast<float>(
        InUnit(celsius, IsFahrenheit(flags) ? DisplayUnit::Fahrenheit : DisplayUnit::Celsius));
}

}  // namespace kr820::core
