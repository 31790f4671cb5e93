// SPDX-License-Identifier: MIT
#include "memory_blocks.h"

#include <algorithm>

#include "command_frame.h"
#include "logger_memory_builder.h"

namespace kr820::emulator {
namespace {

constexpr std::size_t kSetCountOffset = 10;
constexpr std::size_t kSetCountDigits = 4;
constexpr std::size_t kEndAddressOffset = 15;
constexpr std::size_t kEndAddressDigits = 8;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Up to `maxDigits` hexadecimal digits at `offset`, after leading blanks.
std::optional<std::uint32_t> HexTextAt(std::string_view image, std::size_t offset,
                                       std::size_t maxDigits) {
    if (image.size() <= offset) return std::nullopt;
    std::string_view text = image.substr(offset);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    std::uint32_t value = 0;
    std::size_t digits = 0;
    for (; digits < std::min(text.size(), maxDigits) && HexValue(text[digits]) >= 0; ++digits) {
        value = value << 4 | static_cast<std::uint32_t>(HexValue(text[digits]));
    }
    if (digits == 0) return std::nullopt;
    return value;
}

}  // namespace

std::string HeaderReplyOf(std::string_view image) {
    return std::string(image.substr(0, kHeaderReplyBytes));
}

std::optional<std::uint32_t> EndAddressOf(std::string_view image) {
    return HexTextAt(image, kEndAddressOffset, kEndAddressDigits);
}

std::size_t SetCountOf(std::string_view image) {
    return HexTextAt(image, kSetCountOffset, kSetCountDigits).value_or(0);
}

std::size_t AnnouncedBytes(std::string_view image) {
    const std::optional<std::uint32_t> end = EndAddressOf(image);
    if (!end || *end <= kEmptyEndAddress) return 0;
    return *end - kEmptyEndAddress;
}

std::size_t BlockCount(std::string_view image) {
    return (AnnouncedBytes(image) + kBlockPayloadBytes - 1) / kBlockPayloadBytes;
}

std::string BlockPayload(std::string_view image, std::size_t index) {
    const std::size_t from = kImageHeaderBytes + index * kBlockPayloadBytes;
    std::string payload =
        from < image.size() ? std::string(image.substr(from, kBlockPayloadBytes)) : std::string{};
    payload.resize(kBlockPayloadBytes, kErasedByte);
    return payload;
}

std::string EncodeBlock(std::string_view payload) {
    std::string block;
    block.reserve(kBlockFrameBytes);
    block.push_back(kStx);
    block.append(payload);
    // The same sum as a command frame's, over the 32 memory bytes.
    block.push_back(static_cast<char>(CommandChecksum(payload)));
    block.push_back(kEtx);
    return block;
}

std::string DownloadedImage(std::string_view image) {
    std::string downloaded = HeaderReplyOf(image);
    downloaded.resize(kImageHeaderBytes, '\0');
    const std::size_t blocks = BlockCount(image);
    downloaded.reserve(kImageHeaderBytes + blocks * kBlockPayloadBytes);
    for (std::size_t index = 0; index < blocks; ++index) downloaded += BlockPayload(image, index);
    return downloaded;
}

}  // namespace kr820::emulator
