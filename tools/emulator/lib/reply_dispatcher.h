// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kr820::emulator {

// Maps a command's first body byte to the handler that builds the meter's answer. A command
// without a handler is still received, just never answered, as the meter does with frames it
// does not act on.
class ReplyDispatcher {
public:
    // Returns the bytes to send back; empty for no answer.
    using Handler = std::function<std::string(std::string_view body)>;

    void Register(std::uint8_t firstBodyByte, Handler handler);
    std::string Dispatch(std::string_view body) const;

private:
    std::array<Handler, 256> m_handlers;
};

}  // namespace kr820::emulator
