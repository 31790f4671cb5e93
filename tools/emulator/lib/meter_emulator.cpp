// SPDX-License-Identifier: MIT
#include "meter_emulator.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

#include "command_parser.h"
#include "device_link.h"
#include "pseudo_terminal.h"
#include "reply_dispatcher.h"

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
    PseudoTerminal terminal;
    std::thread service;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> silent{false};
    std::atomic<std::size_t> bytesReceived{0};

    mutable std::mutex mutex;  // guards everything below
    MeterState state;
    std::vector<std::string> receivedBodies;
    std::vector<std::string> links;
    std::string devicePath;

    CommandParser parser;  // service thread only
    ReplyDispatcher replies;

    Impl() {
        replies.Register('K', [](std::string_view) { return ModelReply(); });
        replies.Register('A', [this](std::string_view) {
            std::lock_guard lock(mutex);
            return EncodeLiveFrame(state);
        });
        // Writes (setup bytes, clock, reset, erase) are confirmed by echoing the whole frame.
        for (const std::uint8_t write : {'w', 'W', 'R', 'C'})
            replies.Register(write, [](std::string_view body) { return FrameCommand(body); });
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
                    Handle(parser.Feed(std::string_view(buffer, static_cast<std::size_t>(count))));
                }
            } else if (ready > 0) {
                // A hang-up without readable bytes cannot happen while the slave is held open,
                // but must not turn this loop into a busy spin if it ever does.
                std::this_thread::sleep_for(std::chrono::milliseconds(kPollTimeoutMs));
            }
            if (parser.HasPending() && Clock::now() - lastByteAt >= kStaleFrameAfter) {
                Handle(parser.AbandonPending());
            }
        }
    }

    void Handle(const std::vector<std::string>& bodies) {
        for (const std::string& body : bodies) {
            {
                std::lock_guard lock(mutex);
                receivedBodies.push_back(body);
            }
            if (silent.load()) continue;
            const std::string reply = replies.Dispatch(body);
            if (!reply.empty()) Write(reply);
        }
    }

    void Write(std::string_view bytes) {
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

MeterEmulator::MeterEmulator() : impl_(std::make_unique<Impl>()) {}

MeterEmulator::~MeterEmulator() { Stop(); }

bool MeterEmulator::Start(std::string* error) {
    if (IsRunning()) {
        if (error) *error = "the emulator is already running on " + DevicePath();
        return false;
    }
    if (!impl_->terminal.Open(error)) return false;
    {
        std::lock_guard lock(impl_->mutex);
        impl_->devicePath = impl_->terminal.SlavePath();
    }
    impl_->parser = CommandParser{};
    impl_->stopRequested = false;
    impl_->service = std::thread([impl = impl_.get()] { impl->Serve(); });
    return true;
}

void MeterEmulator::Stop() {
    if (!impl_->service.joinable()) return;
    impl_->stopRequested = true;
    impl_->service.join();
    std::vector<std::string> links;
    std::string devicePath;
    {
        std::lock_guard lock(impl_->mutex);
        links.swap(impl_->links);
        devicePath.swap(impl_->devicePath);
    }
    for (const std::string& link : links) RemoveSymlinkTo(devicePath, link);
    impl_->terminal.Close();
}

bool MeterEmulator::IsRunning() const { return impl_->service.joinable(); }

std::string MeterEmulator::DevicePath() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->devicePath;
}

bool MeterEmulator::MakeSymlink(const std::string& linkPath, std::string* error) {
    const std::string device = DevicePath();
    if (device.empty()) {
        if (error) *error = "the emulator is not running";
        return false;
    }
    if (!ReplaceSymlink(device, linkPath, error)) return false;
    std::lock_guard lock(impl_->mutex);
    impl_->links.push_back(linkPath);
    return true;
}

void MeterEmulator::SetState(const MeterState& state) {
    std::lock_guard lock(impl_->mutex);
    impl_->state = state;
}

MeterState MeterEmulator::State() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->state;
}

void MeterEmulator::SetSilent(bool silent) { impl_->silent = silent; }

std::vector<std::string> MeterEmulator::ReceivedBodies() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->receivedBodies;
}

void MeterEmulator::ClearReceived() {
    std::lock_guard lock(impl_->mutex);
    impl_->receivedBodies.clear();
    impl_->bytesReceived = 0;
}

std::size_t MeterEmulator::BytesReceived() const { return impl_->bytesReceived.load(); }

}  // namespace kr820::emulator
