// SPDX-License-Identifier: MIT
#include "cli/serve_command.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTimer>
#include <algorithm>
#include <map>
#include <memory>

#include "cli/cli_log.h"
#include "cli/meter_scan.h"
#include "cli/program_version.h"
#include "cli/served_meter.h"
#include "cli/stable_device_name.h"
#include "cli/stop_signals.h"
#include "feeds/feed_hub.h"
#include "link/port.h"

namespace kr820::cli {
namespace {

// Without --device: how often the devices are looked through for a meter plugged in, and how
// often one that did not answer is asked again, in ticks of the supervision.
constexpr int kScanTicks = 5;
constexpr int kRetryTicks = 60;

// The broker's settings from the options and the password's file or variable.
std::variant<feeds::MqttSettings, QString> MqttSettingsOf(const ServeOptions& options,
                                                          int everySeconds,
                                                          const QProcessEnvironment& environment) {
    const auto password = feeds::ReadMqttPassword(options.mqttPasswordFile, environment);
    auto parsed = feeds::ParseMqttUrl(options.mqttUrl);
    if (auto* error = std::get_if<feeds::MqttSettingsError>(&parsed)) return error->message;
    feeds::MqttSettings settings = std::get<feeds::MqttSettings>(parsed);
    settings.CaFile = options.mqttCa;
    if (!options.mqttUser.isEmpty()) settings.User = options.mqttUser;
    settings.QueueLimit = options.mqttQueue;
    // A few readings missed are no outage; a service that hangs is.
    settings.ExpireAfterSeconds = std::max(60, 3 * everySeconds);
    if (auto* error = std::get_if<feeds::MqttSettingsError>(&password)) return error->message;
    if (const auto& given = std::get<std::optional<QString>>(password); given && !given->isEmpty())
        settings.Password = *given;
    if (const auto exposed = feeds::PasswordFileExposure(options.mqttPasswordFile))
        qCWarning(lcServe, "%s", qPrintable(*exposed));
    return settings;
}

// The meters being served, by name, and the devices they hold.
class ServedMeters {
public:
    ServedMeters(const CliArguments& arguments, MeterAccess& access, const PortMaker& makePort,
                 CliIo& io, feeds::FeedHub& hub)
        : m_arguments(arguments), m_access(access), m_makePort(makePort), m_io(io), m_hub(hub) {}

    ~ServedMeters() {
        // Ports and alarm commands first; the hub then says "offline" for each.
        m_meters.clear();
    }

    void Serve(const QString& path, const QString& givenName) {
        const QString base = givenName.isEmpty() ? StableDeviceName(path) : givenName;
        // Two devices of one name (a path listed twice, say) are told apart, never merged.
        QString name = base;
        for (int n = 2; m_meters.count(name) > 0; ++n) name = base + u'_' + QString::number(n);
        auto meter = std::make_unique<ServedMeter>(
            name, path, m_makePort(), m_access.clock, m_access.tick, m_io, m_arguments.alarms,
            std::chrono::seconds(m_arguments.everySeconds), m_hub.AddMeter(name));
        ServedMeter& started = *meter;
        // Known before its search runs events, so that a scan meanwhile leaves the device alone.
        m_meters.emplace(name, std::move(meter));
        started.Start();
    }

    bool Holds(const QString& path) const {
        const QString target = QFileInfo(path).canonicalFilePath();
        for (const auto& [name, meter] : m_meters) {
            if (meter->Path() == path) return true;
            if (!target.isEmpty() && QFileInfo(meter->Path()).canonicalFilePath() == target)
                return true;
        }
        return false;
    }

private:
    const CliArguments& m_arguments;
    MeterAccess& m_access;
    const PortMaker& m_makePort;
    CliIo& m_io;
    feeds::FeedHub& m_hub;
    std::map<QString, std::unique_ptr<ServedMeter>> m_meters;
};

}  // namespace

ExitCode RunServe(const CliArguments& arguments, MeterAccess& access, const PortMaker& makePort,
                  CliIo& io, StopSignals& stop) {
    ApplyServeLogRules(arguments.verbosity);
    const ServeOptions& options = arguments.serve;
    // The password leaves the environment before anything starts, so that no alarm command (nor
    // any other child) inherits it.
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    qunsetenv(feeds::kMqttPasswordVariable);
    feeds::FeedHub hub;
    if (!options.metrics.isEmpty()) {
        if (const auto error =
                hub.StartMetrics(options.metrics, {ProgramVersion(), ProgramRevision()})) {
            Say(io, *error);
            return ExitCode::Failed;
        }
    }
    if (!options.mqttUrl.isEmpty()) {
        const auto settings = MqttSettingsOf(options, arguments.everySeconds, environment);
        if (const auto* error = std::get_if<QString>(&settings)) {
            Say(io, *error);
            return ExitCode::Failed;
        }
        if (const auto error = hub.StartMqtt(std::get<feeds::MqttSettings>(settings))) {
            Say(io, *error);
            return ExitCode::Failed;
        }
    }

    QEventLoop loop;
    QObject::connect(&stop, &StopSignals::StopRequested, &loop, &QEventLoop::quit);
    ServedMeters meters(arguments, access, makePort, io, hub);
    MeterScan scan(
        makePort, access.clock, [&meters](const QString& path) { return meters.Holds(path); },
        access.tick * kScanTicks,
        std::chrono::duration_cast<std::chrono::milliseconds>(core::kExchangeLimits.tick *
                                                              kRetryTicks));
    QObject::connect(&scan, &MeterScan::meterFound, &loop, [&](const QString& path) {
        // The stable link, where there is one: the meter is found there again when plugged into
        // another socket.
        const QString stable = StableDevicePath(path);
        meters.Serve(stable.isEmpty() ? path : stable, {});
    });
    // Started from the loop, so that a stop during the first searches is heard.
    QTimer::singleShot(0, &loop, [&] {
        if (options.devices.empty()) {
            qCInfo(lcServe, "serving every meter found");
            scan.Start();
        }
        for (const ServedDevice& device : options.devices) {
            if (stop.Requested()) return;
            meters.Serve(device.path, device.name);
        }
    });
    if (!stop.Requested()) loop.exec();
    qCInfo(lcServe, "stopping");
    return ExitCode::Success;
}

}  // namespace kr820::cli
