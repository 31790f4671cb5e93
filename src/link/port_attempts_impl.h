// SPDX-License-Identifier: MIT
#pragma once

#include "link/com_error.h"

namespace kr820::link {

template <typename Operation>
bool Attempt(const QString& what, Port& port, Operation operation, int* failureCode) {
    try {
        operation();
        return true;
    } catch (const EAbort& abandoned) {
        ReportPortFailure(what, port, abandoned.Reason());
        if (failureCode) *failureCode = abandoned.Code();
    } catch (const EComError& error) {
        ReportPortFailure(what, port, error.Message());
        if (failureCode) *failureCode = error.Code();
    }
    return false;
}

}  // namespace kr820::link
