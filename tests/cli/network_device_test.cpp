// SPDX-License-Identifier: MIT
// kr820-cli on a meter behind a real ser2net: "live" and "download" over tcp://, as on the
// serial line, and the device's list in $KR820_PORTS.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cli_rig.h"
#include "link/com_devices.h"
#include "running_ser2net.h"

namespace kr820::testing {
namespace {

using cli::ExitCode;

TEST(CliNetworkDevice, LiveAndDownloadThroughADeviceServer) {
    KR820_SKIP_WITHOUT("ser2net");
    CliRig rig;
    RunningSer2net server(RunningSer2net::Accepter::Raw, PathOf(*rig.meter));
    ASSERT_TRUE(server.Start());
    ASSERT_EQ(rig.Run({"live", "--count", "2", "--device", server.Url()}, false), ExitCode::Success)
        << rig.Err().toStdString();
    EXPECT_EQ(rig.OutLines().size(), 3) << rig.Out().toStdString();

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("net.820"));
    ASSERT_EQ(rig.Run({"download", "--output", file, "--device", server.Url()}, false),
              ExitCode::Success)
        << rig.Err().toStdString();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray memory = QByteArray::fromStdString(rig.meter->Memory());
    EXPECT_TRUE(written.readAll().contains(memory.mid(256))) << "the logger's bytes, unchanged";
}

TEST(CliNetworkDevice, KR820PortsKeepsANetworkDeviceWhole) {
    qputenv("KR820_PORTS", "/dev/pts/77:tcp://127.0.0.1:4000:rfc2217://[::1]:4001");
    QStringList devices;
    link::EnumComDevices(devices);
    qunsetenv("KR820_PORTS");
    ASSERT_GE(devices.size(), 3);
    EXPECT_EQ(devices.mid(devices.size() - 3),
              QStringList({"/dev/pts/77", "tcp://127.0.0.1:4000", "rfc2217://[::1]:4001"}));
    EXPECT_EQ(link::ComDeviceName(QStringLiteral("tcp://127.0.0.1:4000")), "tcp://127.0.0.1:4000");
}

}  // namespace
}  // namespace kr820::testing
