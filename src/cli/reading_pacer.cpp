// SPDX-License-Identifier: MIT
#include "cli/reading_pacer.h"

namespace kr820::cli {
namespace {

constexpr std::chrono::milliseconds kEarliness{500};

}  // namespace

bool ReadingPacer::Take(link::Clock::TimePoint now) {
    if (!m_due) {
        m_due = now + m_every;
        return true;
    }
    if (now + kEarliness < *m_due) return false;
    *m_due += m_every;
    // After a gap (a meter that went away) the pace starts again from here.
    if (*m_due <= now + kEarliness) *m_due = now + m_every;
    return true;
}

}  // namespace kr820::cli
