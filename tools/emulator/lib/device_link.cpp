// SPDX-License-Identifier: MIT
#include "device_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kr820::emulator {
namespace {

std::string LinkTarget(const std::string& linkPath) {
    char buffer[4096];
    const ssize_t length = readlink(linkPath.c_str(), buffer, sizeof buffer);
    return length < 0 ? std::string{} : std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace

bool ReplaceSymlink(const std::string& target, const std::string& linkPath, std::string* error) {
    struct stat info {};
    if (lstat(linkPath.c_str(), &info) == 0 && !S_ISLNK(info.st_mode)) {
        if (error) *error = linkPath + " exists and is not a symlink";
        return false;
    }
    // Build the link beside its final name and rename it over: the name never goes missing
    // for a program that is opening it right now.
    const std::string temporary = linkPath + ".tmp" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(target.c_str(), temporary.c_str()) != 0) {
        if (error) *error = "symlink " + linkPath + ": " + std::strerror(errno);
        return false;
    }
    if (std::rename(temporary.c_str(), linkPath.c_str()) != 0) {
        if (error) *error = "rename to " + linkPath + ": " + std::strerror(errno);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

void RemoveSymlinkTo(const std::string& target, const std::string& linkPath) {
    if (!target.empty() && LinkTarget(linkPath) == target) unlink(linkPath.c_str());
}

}  // namespace kr820::emulator
