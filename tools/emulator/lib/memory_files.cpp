// SPDX-License-Identifier: MIT
#include "memory_files.h"

#include <utility>

#include "byte_file.h"
#include "memory_blocks.h"
#include "meter_emulator.h"

namespace kr820::emulator {

bool LoadMemoryFile(const std::string& path, MeterEmulator* emulator, std::string* error) {
    std::string image;
    if (!ReadByteFile(path, &image, error)) return false;
    std::string reason;
    if (!emulator->SetMemory(std::move(image), &reason)) {
        if (error) *error = path + ": " + reason;
        return false;
    }
    return true;
}

bool SaveMemoryFile(const std::string& path, std::string_view image, std::string* error) {
    return WriteByteFile(path, DownloadedImage(image), error);
}

}  // namespace kr820::emulator
