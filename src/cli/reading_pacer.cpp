// SPDX-License-Identifier: MIT
#include "cli/reading_pacer.h"

namespace kr820::cli {

bool ReadingPacer::Take(link::Clock::TimePoint now) {
    if (!m_due) {
        m_due = now + m_every;
        return true;
    }
    if (now + kReadingEarliness < *m_due) return false;
    *m_due += m_every;
    // After a gap (a meter that went away) the pace starts again from here.
    if (*m_due <= now + kReadingEarliness) *m_due = now + m_every;
    return true;
}

}  // namespace kr820::cli
