// SPDX-License-Identifier: MIT
#include "meter_fields.h"

namespace kr820::emulator {
namespace {

enum class Where { kStatusA, kStatusB, kT1Invalid, kT2Invalid };

struct Flag {
    std::string_view name;
    Where where;
    std::uint8_t mask;
};

constexpr Flag kFlags[] = {
    {"auto-off", Where::kStatusA, kStatusAAutoPowerOff},
    {"rel", Where::kStatusA, kStatusARel},
    {"low-battery", Where::kStatusA, kStatusALowBattery},
    {"rec-blink", Where::kStatusA, kStatusARecBlinking},
    {"t1-two-decimals", Where::kStatusA, kStatusAT1PointBeforeLastTwo},
    {"t2-two-decimals", Where::kStatusA, kStatusAT2PointBeforeLastTwo},
    {"printer", Where::kStatusA, kStatusAPrinter},
    {"type-j", Where::kStatusB, kStatusBTypeMask},
    {"recording", Where::kStatusB, kStatusBRecording},
    {"fahrenheit", Where::kStatusB, kStatusBFahrenheit},
    {"t2-main", Where::kStatusB, kStatusBT2OnMain},
    {"t1-invalid", Where::kT1Invalid, 0},
    {"t2-invalid", Where::kT2Invalid, 0},
};

void SetBits(std::uint8_t* byte, std::uint8_t mask, bool on) {
    *byte = static_cast<std::uint8_t>(on ? (*byte | mask) : (*byte & ~mask));
}

constexpr int kModeShift = 4;

}  // namespace

bool SetFlag(MeterState* state, std::string_view name, bool on) {
    for (const Flag& flag : kFlags) {
        if (flag.name != name) continue;
        switch (flag.where) {
            case Where::kStatusA:
                SetBits(&state->statusA, flag.mask, on);
                break;
            case Where::kStatusB:
                if (flag.mask == kStatusBTypeMask) {
                    // A two-bit field: J is the value 1, K anything else, so clear both first.
                    SetBits(&state->statusB, kStatusBTypeMask, false);
                    SetBits(&state->statusB, kStatusBTypeJ, on);
                } else {
                    SetBits(&state->statusB, flag.mask, on);
                }
                break;
            case Where::kT1Invalid:
                state->t1.invalid = on ? 1 : 0;
                break;
            case Where::kT2Invalid:
                state->t2.invalid = on ? 1 : 0;
                break;
        }
        return true;
    }
    return false;
}

std::vector<std::string_view> FlagNames() {
    std::vector<std::string_view> names;
    for (const Flag& flag : kFlags) names.push_back(flag.name);
    return names;
}

bool SetTemperature(MeterState* state, std::string_view name, std::int16_t tenthsC) {
    const struct {
        std::string_view name;
        std::int16_t* field;
    } fields[] = {
        {"t1", &state->t1.tenthsC},        {"t2", &state->t2.tenthsC},
        {"t1-rel", &state->t1.relTenthsC}, {"t2-rel", &state->t2.relTenthsC},
        {"t1-min", &state->t1.minTenthsC}, {"t1-max", &state->t1.maxTenthsC},
        {"t2-min", &state->t2.minTenthsC}, {"t2-max", &state->t2.maxTenthsC},
    };
    for (const auto& field : fields) {
        if (field.name != name) continue;
        *field.field = tenthsC;
        return true;
    }
    return false;
}

bool SetDisplayMode(MeterState* state, int mode) {
    if (mode < 0 || mode > 3) return false;
    state->statusB =
        static_cast<std::uint8_t>((state->statusB & ~kStatusBModeMask) | (mode << kModeShift));
    return true;
}

int DisplayMode(const MeterState& state) {
    return (state.statusB & kStatusBModeMask) >> kModeShift;
}

}  // namespace kr820::emulator
