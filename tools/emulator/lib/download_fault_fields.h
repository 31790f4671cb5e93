// SPDX-License-Identifier: MIT
// The download faults that take a value, under the names the command line (--NAME VALUE) and
// the console (NAME VALUE|off) share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "logger_transfer.h"

namespace kr820::emulator {

// head-length N, end-address HEX, bad-sum K, bad-sum-always K, silent-after-block K,
// block-noise K.
bool IsDownloadFaultName(std::string_view name);

// "off" switches the fault off. False, with the reason in *error, for an unknown name or a
// value that does not fit; *faults is then unchanged.
bool SetDownloadFault(DownloadFaults* faults, std::string_view name, std::string_view value,
                      std::string* error);

// 1 to 8 hexadecimal digits, "0x" in front allowed.
bool ParseHexAddress(std::string_view text, std::uint32_t* address);

}  // namespace kr820::emulator
