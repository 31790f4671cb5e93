// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::store {

// Whether the file begins as every store does (an SQLite database), whatever its name, so that
// File > Open takes it for a store; opening it says whether it is one this program reads.
bool BeginsAsStore(const QString& path);

}  // namespace kr820::store
