// SPDX-License-Identifier: MIT
#include "link/port.h"

namespace kr820::link {

QByteArray Port::Read(int count) {
    QByteArray bytes(count, Qt::Uninitialized);
    bytes.resize(Read(bytes.data(), count));
    return bytes;
}

}  // namespace kr820::link
