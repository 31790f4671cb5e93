// SPDX-License-Identifier: MIT
// Whole files in and out as bytes: collection files for the logger memory.
#pragma once

#include <string>

namespace kr820::emulator {

bool ReadByteFile(const std::string& path, std::string* bytes, std::string* error);
bool WriteByteFile(const std::string& path, const std::string& bytes, std::string* error);

}  // namespace kr820::emulator
