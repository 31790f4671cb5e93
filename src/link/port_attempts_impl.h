// SPDX-License-Identifier: MIT
#pragma once

#include "link/com_error.h"

namespace kr820::link {

template <typename Operation>
bool Attempt(const QString& what, Port& port, Operation operation) {
    try {
        operation();
        return true;
    } catch (const EAbort& abandoned) {
        ReportPortFailure(what, port, abandoned.Reason());
    } catch (const EComError& error) {
        ReportPortFailure(what, port, error.Message());
    }
    return false;
}

}  // namespace kr820::link
