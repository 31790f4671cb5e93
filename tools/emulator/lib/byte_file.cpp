// SPDX-License-Identifier: MIT
#include "byte_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

namespace kr820::emulator {
namespace {

bool Fail(const std::string& what, const std::string& path, std::string* error) {
    if (error) *error = what + " " + path + ": " + std::strerror(errno);
    return false;
}

}  // namespace

bool ReadByteFile(const std::string& path, std::string* bytes, std::string* error) {
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) return Fail("cannot open", path, error);
    std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) return Fail("cannot read", path, error);
    *bytes = std::move(content);
    return true;
}

bool WriteByteFile(const std::string& path, const std::string& bytes, std::string* error) {
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return Fail("cannot create", path, error);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) return Fail("cannot write", path, error);
    return true;
}

}  // namespace kr820::emulator
