// SPDX-License-Identifier: MIT
#include "core/live/reading_fan_out.h"

#include <algorithm>

namespace kr820::core {

ReadingFanOut::~ReadingFanOut() = default;

void ReadingFanOut::Attach(ReadingStage stage, const QObject* owner, ReadingSink sink) {
    auto entry = std::make_shared<Entry>(Entry{stage, std::move(sink)});
    // After the last sink of its stage: sinks of one stage keep the order they came in.
    const auto place = std::upper_bound(
        m_entries.begin(), m_entries.end(), stage,
        [](ReadingStage wanted, const std::shared_ptr<Entry>& e) { return wanted < e->Stage; });
    m_entries.insert(place, entry);
    connect(owner, &QObject::destroyed, this, [this, weak = std::weak_ptr<Entry>(entry)] {
        const std::shared_ptr<Entry> gone = weak.lock();
        if (!gone) return;
        gone->Attached = false;
        std::erase(m_entries, gone);
    });
}

template <typename Call>
void ReadingFanOut::HandOut(Call call) {
    // A copy: a sink may attach or detach others (or itself) while the event goes round.
    const std::vector<std::shared_ptr<Entry>> entries = m_entries;
    for (const std::shared_ptr<Entry>& entry : entries)
        if (entry->Attached) call(entry->Sink);
}

void ReadingFanOut::Publish(const LiveReading& reading) {
    HandOut([&reading](const ReadingSink& sink) {
        if (sink.Reading) sink.Reading(reading);
    });
}

void ReadingFanOut::PublishLinkLost(qint64 atMsSinceEpoch) {
    HandOut([atMsSinceEpoch](const ReadingSink& sink) {
        if (sink.LinkLost) sink.LinkLost(atMsSinceEpoch);
    });
}

void ReadingFanOut::PublishLinkRestored(qint64 atMsSinceEpoch) {
    HandOut([atMsSinceEpoch](const ReadingSink& sink) {
        if (sink.LinkRestored) sink.LinkRestored(atMsSinceEpoch);
    });
}

}  // namespace kr820::core
