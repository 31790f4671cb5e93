// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "core/live/live_reading.h"

namespace kr820::core {

// Where a sink takes the meter's readings, in the order every reading (and every loss and return
// of the link) reaches them: the alarms first, so that the recording's marks and the feeds'
// alarm states already carry what this reading raised or cleared; the display last.
enum class ReadingStage { Alarms, Recording, Feeds, Display };
inline constexpr std::array kReadingStages{ReadingStage::Alarms, ReadingStage::Recording,
                                           ReadingStage::Feeds, ReadingStage::Display};

// What a sink does with each event; any of them may be left empty.
struct ReadingSink {
    std::function<void(const LiveReading&)> Reading = {};
    std::function<void(qint64 atMsSinceEpoch)> LinkLost = {};
    std::function<void(qint64 atMsSinceEpoch)> LinkRestored = {};
};

// Hands each reading to its sinks stage by stage, in the order of ReadingStage, and within a
// stage in the order they were attached. A sink attached or detached while an event is handed
// out takes part from the next event on.
class ReadingFanOut : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~ReadingFanOut() override;

    // The sink stays attached as long as `owner` lives.
    void Attach(ReadingStage stage, const QObject* owner, ReadingSink sink);

    void Publish(const LiveReading& reading);
    void PublishLinkLost(qint64 atMsSinceEpoch);
    void PublishLinkRestored(qint64 atMsSinceEpoch);

private:
    struct Entry {
        ReadingStage Stage;
        ReadingSink Sink;
        bool Attached = true;
    };
    template <typename Call>
    void HandOut(Call call);

    std::vector<std::shared_ptr<Entry>> m_entries;  // ordered by stage, then by attaching
};

}  // namespace kr820::core
