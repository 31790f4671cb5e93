// SPDX-License-Identifier: MIT
// The logger memory cut into the blocks of a download. Works on any image, a built one or one
// read from a collection file, taking the number of bytes from the end address in its header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kr820::emulator {

inline constexpr std::size_t kBlockPayloadBytes = 32;
inline constexpr std::size_t kBlockFrameBytes = 35;
// Memory past the last record reads as erased.
inline constexpr char kErasedByte = static_cast<char>(0xFF);

// The 26-byte header reply at the front of the image, as the meter sends it; shorter when the
// image is.
std::string HeaderReplyOf(std::string_view image);

// The end address at image offset 15, read as up to 8 hexadecimal digits after leading blanks.
// Empty when there is no digit there.
std::optional<std::uint32_t> EndAddressOf(std::string_view image);

// The data set count at image offset 10, read as up to 4 hexadecimal digits after leading
// blanks; 0 when there is no digit there.
std::size_t SetCountOf(std::string_view image);

// How many memory bytes the header announces: end address - 0xFFFF; 0 when it announces none
// or cannot be read.
std::size_t AnnouncedBytes(std::string_view image);

// Blocks that carry the announced bytes: the last one is filled up with erased bytes.
std::size_t BlockCount(std::string_view image);

// The 32 memory bytes of block `index` (0 = memory bytes 0 to 31, image offsets 256 to 287);
// bytes past the end of the image read as erased.
std::string BlockPayload(std::string_view image, std::size_t index);

// STX, the 32 bytes, (their sum modulo 256) OR 0x80, ETX.
std::string EncodeBlock(std::string_view payload);

// What the PC holds after a clean download of this image, and saves as its collection file:
// the header reply, zeros up to byte 256, then every block's 32 bytes.
std::string DownloadedImage(std::string_view image);

}  // namespace kr820::emulator
