// SPDX-License-Identifier: MIT
#include "meter_emulator.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>
#include <utility>

#include "command_parser.h"
#include "device_link.h"
#include "logger_memory_builder.h"
#include "meter_answers.h"
#include "pseudo_terminal.h"
#include "setup_record.h"

namespace kr820::emulator {
namespace {

using Clock = std::chrono::steady_clock;

// Short enough that Stop() returns promptly.
constexpr int kPollTimeoutMs = 20;
// A frame still incomplete after this much silence will never finish; a real meter resets its
// receiver the same way. Far above the gap between the bytes of one frame at 19200 baud.
constexpr auto kStaleFrameAfter = std::chrono::milliseconds(300);
// Bound on a reply that the slave side does not drain, so a stuck reader cannot stall Stop().
constexpr auto kWriteGiveUpAfter = std::chrono::seconds(1);

}  // namespace

struct MeterEmulator::Impl {
    // Held by Start, Stop, Plug, Unplug and MakeSymlink: they open and close the line and
    // start and join the service thread.
    std::mutex lineMutex;
    PseudoTerminal terminal;
    std::thread service;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> started{false};
    std::atomic<bool> silent{false};
    std::atomic<std::size_t> bytesReceived{0};
    std::atomic<std::int64_t> byteTimeNs{0};

    mutable std::mutex mutex;  // guards everything below
    // The meter's clock runs from construction, so that a state scripted before Start and the
    // motion's times agree, and it goes on through Stop, Start, Unplug and Plug.
    Clock::time_point switchedOnAt = Clock::now();
    MeterAnswers answers;
    std::vector<std::string> receivedBodies;
    std::vector<std::string> receivedFrames;
    std::vector<std::string> links;
    std::string devicePath;

    CommandParser parser;  // service thread only

    // Caller holds mutex.
    std::chrono::milliseconds SinceSwitchOn() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - switchedOnAt);
    }
    void AdvanceModel() { answers.Model().AdvanceTo(SinceSwitchOn()); }

    // Caller holds lineMutex.
    bool OpenLine(std::string* error) {
        if (!terminal.Open(error)) return false;
        std::vector<std::string> linksNow;
        {
            std::lock_guard lock(mutex);
            devicePath = terminal.SlavePath();
            linksNow = links;
        }
        for (const std::string& link : linksNow) {
            // A link that cannot be re-pointed leaves the meter reachable by its device path.
            ReplaceSymlink(terminal.SlavePath(), link, nullptr);
        }
        parser = CommandParser{};
        stopRequested = false;
        service = std::thread([this] { Serve(); });
        return true;
    }

    // Caller holds lineMutex.
    void CloseLine() {
        if (!service.joinable()) return;
        stopRequested = true;
        service.join();
        std::vector<std::string> linksNow;
        std::string oldDevice;
        {
            std::lock_guard lock(mutex);
            linksNow = links;
            oldDevice.swap(devicePath);
        }
        // Gone with the device rather than dangling: the pts number may soon be someone else's.
        for (const std::string& link : linksNow) RemoveSymlinkTo(oldDevice, link);
        terminal.Close();
    }

    void Serve() {
        const int fd = terminal.MasterFd();
        Clock::time_point lastByteAt = Clock::now();
        char buffer[512];
        while (!stopRequested.load()) {
            pollfd request{fd, POLLIN, 0};
            const int ready = poll(&request, 1, kPollTimeoutMs);
            if (ready < 0 && errno != EINTR) break;
            if (ready > 0 && (request.revents & POLLIN) != 0) {
                const ssize_t count = read(fd, buffer, sizeof buffer);
                if (count > 0) {
                    bytesReceived += static_cast<std::size_t>(count);
                    lastByteAt = Clock::now();
                    Handle(parser.FeedFrames(
                        std::string_view(buffer, static_cast<std::size_t>(count))));
                }
            } else if (ready > 0) {
                // A hang-up without readable bytes cannot happen while the slave is held open,
                // but must not turn this loop into a busy spin if it ever does.
                std::this_thread::sleep_for(std::chrono::milliseconds(kPollTimeoutMs));
            }
            if (parser.HasPending() && Clock::now() - lastByteAt >= kStaleFrameAfter) {
                Handle(parser.AbandonPendingFrames());
            }
        }
    }

    void Handle(const std::vector<std::string>& frames) {
        for (const std::string& frame : frames) {
            const std::string body = frame.substr(1, frame.size() - 3);
            std::chrono::milliseconds splitGap{0};
            std::string reply;
            {
                std::lock_guard lock(mutex);
                receivedFrames.push_back(frame);
                receivedBodies.push_back(body);
                if (silent.load()) continue;
                if (body.front() == 'A') splitGap = answers.Faults().splitGap;
                reply = answers.Answer(body, SinceSwitchOn());
            }
            if (reply.empty()) continue;
            if (splitGap.count() > 0) {
                WriteInPieces(reply, splitGap);
            } else {
                Write(reply);
            }
        }
    }

    void WriteInPieces(std::string_view bytes, std::chrono::milliseconds gap) {
        while (!bytes.empty() && !stopRequested.load()) {
            const std::size_t piece = std::min(bytes.size(), kSplitPieceBytes);
            Write(bytes.substr(0, piece));
            bytes.remove_prefix(piece);
            if (!bytes.empty()) std::this_thread::sleep_for(gap);
        }
    }

    // At the line's pace when one is set: each byte is handed over when it would have finished
    // arriving, counted from the first, so that sleeping late never adds up.
    void Write(std::string_view bytes) {
        const std::chrono::nanoseconds perByte{byteTimeNs.load()};
        if (perByte.count() <= 0) {
            WriteNow(bytes);
            return;
        }
        Clock::time_point due = Clock::now();
        for (std::size_t i = 0; i < bytes.size() && !stopRequested.load(); ++i) {
            due += std::chrono::duration_cast<Clock::duration>(perByte);
            std::this_thread::sleep_until(due);
            WriteNow(bytes.substr(i, 1));
        }
    }

    void WriteNow(std::string_view bytes) {
        const int fd = terminal.MasterFd();
        const Clock::time_point giveUpAt = Clock::now() + kWriteGiveUpAfter;
        while (!bytes.empty() && !stopRequested.load() && Clock::now() < giveUpAt) {
            const ssize_t written = write(fd, bytes.data(), bytes.size());
            if (written > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(written));
            } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
                return;
            } else {
                pollfd request{fd, POLLOUT, 0};
                poll(&request, 1, kPollTimeoutMs);
            }
        }
    }
};

MeterEmulator::MeterEmulator() : m_impl(std::make_unique<Impl>()) {}

MeterEmulator::~MeterEmulator() { Stop(); }

bool MeterEmulator::Start(std::string* error) {
    std::lock_guard line(m_impl->lineMutex);
    if (m_impl->started) {
        if (error) *error = "the emulator is already running";
        return false;
    }
    if (!m_impl->OpenLine(error)) return false;
    m_impl->started = true;
    return true;
}

void MeterEmulator::Stop() {
    std::lock_guard line(m_impl->lineMutex);
    if (!m_impl->started) return;
    m_impl->CloseLine();
    std::lock_guard lock(m_impl->mutex);
    m_impl->links.clear();
    m_impl->started = false;
}

bool MeterEmulator::IsRunning() const { return m_impl->started; }

std::string MeterEmulator::DevicePath() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->devicePath;
}

bool MeterEmulator::MakeSymlink(const std::string& linkPath, std::string* error) {
    std::lock_guard line(m_impl->lineMutex);
    const std::string device = DevicePath();
    if (device.empty()) {
        if (error)
            *error = m_impl->started ? "the meter is unplugged" : "the emulator is not running";
        return false;
    }
    if (!ReplaceSymlink(device, linkPath, error)) return false;
    std::lock_guard lock(m_impl->mutex);
    if (std::find(m_impl->links.begin(), m_impl->links.end(), linkPath) == m_impl->links.end())
        m_impl->links.push_back(linkPath);
    return true;
}

void MeterEmulator::Unplug() {
    std::lock_guard line(m_impl->lineMutex);
    if (!m_impl->started) return;
    MarkUnplugged(DevicePath());
    m_impl->CloseLine();
}

bool MeterEmulator::Plug(std::string* error) {
    std::lock_guard line(m_impl->lineMutex);
    if (!m_impl->started) {
        if (error) *error = "the emulator is not running";
        return false;
    }
    if (m_impl->service.joinable()) {
        if (error) *error = "the meter is already plugged in";
        return false;
    }
    return m_impl->OpenLine(error);
}

bool MeterEmulator::IsPlugged() const { return !DevicePath().empty(); }

void MeterEmulator::SetState(const MeterState& state) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->AdvanceModel();
    m_impl->answers.SetScripted(state);
}

MeterState MeterEmulator::State() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->answers.Model().Scripted();
}

void MeterEmulator::SetMotion(const Motion& motion) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->AdvanceModel();
    m_impl->answers.Model().SetMotion(motion);
}

Motion MeterEmulator::GetMotion() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->answers.Model().GetMotion();
}

MeterState MeterEmulator::ReportedState() const {
    std::lock_guard lock(m_impl->mutex);
    m_impl->AdvanceModel();
    return m_impl->answers.Model().Reported();
}

void MeterEmulator::SetSilent(bool silent) { m_impl->silent = silent; }

bool MeterEmulator::IsSilent() const { return m_impl->silent; }

void MeterEmulator::SetModelReply(std::string reply) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->answers.SetModelReply(std::move(reply));
}

void MeterEmulator::SetNoise(std::string junk) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->answers.Faults().noise = std::move(junk);
}

void MeterEmulator::SetSplitGap(std::chrono::milliseconds gap) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->answers.Faults().splitGap = gap;
}

void MeterEmulator::SetDoubleFrames(bool doubleFrames) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->answers.Faults().doubleFrames = doubleFrames;
}

void MeterEmulator::SetWrongLastByte(int frames) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->answers.Faults().wrongLastByteFrames = std::max(frames, 0);
}

LiveReplyFaults MeterEmulator::Faults() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->answers.Faults();
}

bool MeterEmulator::SetMemory(std::string image, std::string* error) {
    if (image.size() < kImageHeaderBytes) {
        if (error) {
            *error = "a memory image holds at least its " + std::to_string(kImageHeaderBytes) +
                     "-byte header; this one has " + std::to_string(image.size());
        }
        return false;
    }
    std::lock_guard lock(m_impl->mutex);
    m_impl->answers.Logger().SetMemory(std::move(image));
    return true;
}

std::string MeterEmulator::Memory() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->answers.Logger().Memory();
}

void MeterEmulator::SetDownloadFaults(const DownloadFaults& faults) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->answers.Logger().SetFaults(faults);
}

DownloadFaults MeterEmulator::GetDownloadFaults() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->answers.Logger().Faults();
}

std::string MeterEmulator::SetupRecord() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->answers.SetupRecord(m_impl->SinceSwitchOn());
}

bool MeterEmulator::SetSetupRecord(std::string record, std::string* error) {
    if (record.size() != kSetupRecordBytes) {
        if (error) {
            *error = "a setup record has " + std::to_string(kSetupRecordBytes) +
                     " bytes; this one has " + std::to_string(record.size());
        }
        return false;
    }
    std::lock_guard lock(m_impl->mutex);
    m_impl->AdvanceModel();
    m_impl->answers.SetSetupRecord(std::move(record), m_impl->SinceSwitchOn());
    return true;
}

void MeterEmulator::SetSetupFaults(const SetupFaults& faults) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->answers.GetSetupFaults() = faults;
}

SetupFaults MeterEmulator::GetSetupFaults() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->answers.GetSetupFaults();
}

void MeterEmulator::SetByteTime(std::chrono::nanoseconds perByte) {
    m_impl->byteTimeNs = std::max<std::int64_t>(perByte.count(), 0);
}

std::chrono::nanoseconds MeterEmulator::ByteTime() const {
    return std::chrono::nanoseconds(m_impl->byteTimeNs.load());
}

std::vector<std::string> MeterEmulator::ReceivedBodies() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->receivedBodies;
}

std::vector<std::string> MeterEmulator::ReceivedFrames() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->receivedFrames;
}

void MeterEmulator::ClearReceived() {
    std::lock_guard lock(m_impl->mutex);
    m_impl->receivedBodies.clear();
    m_impl->receivedFrames.clear();
    m_impl->bytesReceived = 0;
}

std::size_t MeterEmulator::BytesReceived() const { return m_impl->bytesReceived.load(); }

}  // namespace kr820::emulator
