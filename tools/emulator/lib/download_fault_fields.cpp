// SPDX-License-Identifier: MIT
#include "download_fault_fields.h"

#include <charconv>
#include <limits>

#include "emulator_numbers.h"

namespace kr820::emulator {
namespace {

// Well past any header a PC would wait for, and small enough to be typed by mistake only.
constexpr int kLongestHeaderReply = 1000;

bool ParseBlock(std::string_view text, std::size_t* block) {
    int value = 0;
    if (!ParseInteger(text, 0, std::numeric_limits<int>::max(), &value)) return false;
    *block = static_cast<std::size_t>(value);
    return true;
}

}  // namespace

bool ParseHexAddress(std::string_view text, std::uint32_t* address) {
    if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
    if (text.empty() || text.size() > 8) return false;
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value, 16);
    if (failure != std::errc{} || stop != end) return false;
    *address = value;
    return true;
}

bool IsDownloadFaultName(std::string_view name) {
    return name == "head-length" || name == "end-address" || name == "bad-sum" ||
           name == "bad-sum-always" || name == "silent-after-block" || name == "block-noise";
}

bool SetDownloadFault(DownloadFaults* faults, std::string_view name, std::string_view value,
                      std::string* error) {
    const bool off = value == "off";
    const auto bad = [&](const char* what) {
        *error = std::string(name) + ": " + what + ": " + std::string(value);
        return false;
    };
    std::size_t block = 0;
    if (name == "head-length") {
        int bytes = 0;
        if (!off && !ParseInteger(value, 0, kLongestHeaderReply, &bytes))
            return bad("not a length 0..1000");
        faults->headerReplyBytes =
            off ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(bytes));
    } else if (name == "end-address") {
        std::uint32_t address = 0;
        if (!off && !ParseHexAddress(value, &address)) return bad("not a hexadecimal address");
        faults->endAddress = off ? std::nullopt : std::optional<std::uint32_t>(address);
    } else if (!IsDownloadFaultName(name)) {
        *error = "no download fault called " + std::string(name);
        return false;
    } else if (!off && !ParseBlock(value, &block)) {
        return bad("not a block number (the first is 0)");
    } else {
        const std::optional<std::size_t> chosen =
            off ? std::nullopt : std::optional<std::size_t>(block);
        if (name == "bad-sum" || name == "bad-sum-always") {
            faults->badChecksumBlock = chosen;
            faults->badChecksumEveryTime = !off && name == "bad-sum-always";
        } else if (name == "silent-after-block") {
            faults->silentAfterBlock = chosen;
        } else {
            faults->noisyBlock = chosen;
        }
    }
    return true;
}

}  // namespace kr820::emulator
