// SPDX-License-Identifier: MIT
// The logger memory to and from collection files.
#pragma once

#include <string>
#include <string_view>

namespace kr820::emulator {

class MeterEmulator;

// The file's bytes become the emulator's logger memory, exactly as they stand.
bool LoadMemoryFile(const std::string& path, MeterEmulator* emulator, std::string* error);

// Writes what the PC would save after a clean download of `image`: its header area, then whole
// blocks (DownloadedImage).
bool SaveMemoryFile(const std::string& path, std::string_view image, std::string* error);

}  // namespace kr820::emulator
