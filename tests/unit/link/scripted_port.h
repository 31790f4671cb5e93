// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "jumping_clock.h"
#include "link/port.h"

namespace kr820::testing {

// A serial port on scripted devices: whatever is written to a device is answered after
// `answerDelay`, on the jumping clock's time. Nothing here waits: a wait for input moves the
// clock to the next arrival or past the limit.
class ScriptedPort : public link::DevicePort {
public:
    // A device's answer to the bytes of one write; empty for none.
    using Answerer = std::function<QByteArray(const QByteArray& written)>;

    explicit ScriptedPort(JumpingClock& clock) : m_clock(clock) {}

    // A device that can be opened under `name`; any other name fails to open.
    void AddDevice(const QString& name, Answerer answer) { m_devices[name] = std::move(answer); }
    // Opening `name` fails with the system's error code `code` (EACCES, EBUSY, ...) as long as it
    // is set; 0 lets it open again.
    void RefuseOpen(const QString& name, int code) { m_refusals[name] = code; }
    // Bytes the open device sends by itself, `after` from now.
    void Arrive(const QByteArray& bytes, std::chrono::milliseconds after = {});
    // The device goes away: the port closes itself and counts as lost.
    void Unplug();
    // Reads fail with `reason` from now on, as on a device that went away mid-read.
    void FailReads(const QString& reason) { m_readFailure = reason; }
    // The receive notification, as the event loop gives it when bytes are there.
    void DeliverRxChar();

    struct Written {
        QString device;
        QByteArray bytes;
        link::Clock::TimePoint at;  // on the jumping clock
    };
    const std::vector<Written>& Writes() const { return m_writes; }
    int Opens() const { return m_opens; }

    std::chrono::milliseconds answerDelay{1};

    using Port::Read;
    using Port::Write;
    int InputCount() override;
    int Read(char* buffer, int count) override;
    void Write(const char* data, int count) override;
    void PurgeInput() override;
    void PurgeOutput() override {}
    bool WaitForReadable(std::chrono::milliseconds limit) override;
    QString DeviceName() const override { return m_name; }

    void Open() override;
    void Close() override;
    bool Active() const override { return m_open; }
    bool DeviceLost() const override { return m_lost; }
    void SetDeviceName(const QString& name) override;
    void SetBaudRate(int bitsPerSecond) override { m_baudRate = bitsPerSecond; }
    int BaudRate() const override { return m_baudRate; }
    void SetOnRxChar(RxCharHandler handler) override { m_onRxChar = std::move(handler); }
    const RxCharHandler& OnRxChar() const override { return m_onRxChar; }

private:
    struct Arrival {
        link::Clock::TimePoint at;
        QByteArray bytes;
    };
    // Moves what has arrived by now into the input.
    void Collect();
    void RequireOpen() const;

    JumpingClock& m_clock;
    std::map<QString, Answerer> m_devices;
    std::map<QString, int> m_refusals;
    QString m_name;
    int m_baudRate = 19200;
    bool m_open = false;
    bool m_lost = false;
    int m_opens = 0;
    QString m_readFailure;
    QByteArray m_input;
    std::deque<Arrival> m_arrivals;  // in time order
    RxCharHandler m_onRxChar;
    std::vector<Written> m_writes;
};

}  // namespace kr820::testing
