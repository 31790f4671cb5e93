// SPDX-License-Identifier: MIT
#include "reply_dispatcher.h"

#include <utility>

namespace kr820::emulator {

void ReplyDispatcher::Register(std::uint8_t firstBodyByte, Handler handler) {
    m_handlers[firstBodyByte] = std::move(handler);
}

std::string ReplyDispatcher::Dispatch(std::string_view body) const {
    if (body.empty()) return {};
    const Handler& handler = m_handlers[static_cast<std::uint8_t>(body.front())];
    return handler ? handler(body) : std::string{};
}

}  // namespace kr820::emulator
