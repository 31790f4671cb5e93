// SPDX-License-Identifier: MIT
#include "setup_fault_fields.h"

#include <charconv>

#include "emulator_numbers.h"
#include "setup_record.h"

namespace kr820::emulator {

bool ParseSetupAddress(std::string_view text, int* address) {
    int value = 0;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        const char* end = text.data() + text.size();
        const auto [stop, failure] = std::from_chars(text.data(), end, value, 16);
        if (text.empty() || failure != std::errc{} || stop != end) return false;
    } else if (!ParseInteger(text, 0, kLastSetupAddress, &value)) {
        return false;
    }
    if (value < kFirstSetupAddress || value > kLastSetupAddress) return false;
    *address = value;
    return true;
}

bool IsSetupFaultName(std::string_view name) {
    return name == "setup-echo-wrong-at" || name == "refuse-setup-from";
}

bool SetSetupFault(SetupFaults* faults, std::string_view name, std::string_view value,
                   std::string* error) {
    const bool off = value == "off";
    const auto bad = [&](const char* what) {
        *error = std::string(name) + ": " + what + ": " + std::string(value);
        return false;
    };
    if (name == "setup-echo-wrong-at") {
        int at = 0;
        if (!off && !ParseInteger(value, 0, static_cast<int>(kWriteSetupFrameBytes) - 1, &at))
            return bad("not a byte of the 16-byte frame (0..15)");
        faults->writeEchoWrongAt =
            off ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(at));
    } else if (name == "refuse-setup-from") {
        int address = 0;
        if (!off && !ParseSetupAddress(value, &address))
            return bad("not a setup address 0x40..0x71");
        faults->refuseWritesFrom = off ? std::nullopt : std::optional<int>(address);
    } else {
        *error = "no setup fault called " + std::string(name);
        return false;
    }
    return true;
}

}  // namespace kr820::emulator
