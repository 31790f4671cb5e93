// SPDX-License-Identifier: MIT
// What kr820-cli refuses before it touches a meter: an empty --device (a script's unset
// variable) is a usage error for every command that takes one, and a device answering the model
// query as another model is no meter for any command. The emulator's record of what it received
// shows nothing was sent (or nothing beyond the model query and the poll).
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "cli_child.h"
#include "cli_rig.h"
#include "running_emulator.h"

namespace kr820::testing {
namespace {

using cli::ExitCode;

// Every command that talks to one meter, with what it needs besides --device.
const std::vector<QStringList> kMeterCommands = {
    {"live", "--count", "1"},
    {"watch", "--alarm", "t1>85", "--count", "1"},
    {"download", "-o", "memory.820"},
    {"setup", "show"},
    {"setup", "set", "type=J"},
    {"clock", "sync"},
    {"erase", "--yes"},
};

TEST(CliRefusals, AnEmptyDeviceIsAUsageErrorAndNothingIsSent) {
    auto meter = StartEmulator();
    const std::string memory = meter->Memory();
    QTemporaryDir folder;
    std::vector<QStringList> commands = kMeterCommands;
    for (QStringList& command : commands)
        if (command.first() == "download") command[2] = folder.filePath("memory.820");
    commands.push_back({"serve", "--on-alarm", "true", "--alarm", "t1>85"});
    for (const QStringList& command : commands) {
        // The meter is where the search would look: an empty --device must not search.
        for (const QStringList& device :
             {QStringList{"--device", ""}, QStringList{"--device=  "}}) {
            SCOPED_TRACE((command + device).join(' ').toStdString());
            CliChild child;
            child.SetEnvironment("KR820_PORTS", PathOf(*meter));
            ASSERT_TRUE(child.Run(command + device, 10000));
            EXPECT_EQ(child.ExitCode(), 2) << child.Err().toStdString();
            EXPECT_TRUE(child.Err().contains("--device is empty")) << child.Err().toStdString();
            EXPECT_TRUE(child.Err().contains("Try 'kr820-cli ")) << child.Err().toStdString();
        }
    }
    EXPECT_TRUE(meter->ReceivedBodies().empty()) << "the meter was asked something";
    EXPECT_EQ(meter->Memory(), memory);
    EXPECT_FALSE(QFile::exists(folder.filePath("memory.820")));
}

TEST(CliRefusals, ADeviceAnsweringAsAnotherModelIsRefusedByEveryCommand) {
    for (const QStringList& command : kMeterCommands) {
        SCOPED_TRACE(command.join(' ').toStdString());
        CliRig rig;
        rig.meter->SetModelReply(std::string{'\x02', 'K', '9', '9', '9', '\x03'});
        const std::string memory = rig.meter->Memory();
        const std::string setup = rig.meter->SetupRecord();
        QStringList arguments = command;
        QTemporaryDir folder;
        if (command.first() == "download") arguments[2] = folder.filePath("never.820");
        EXPECT_EQ(rig.Run(arguments), ExitCode::NoMeter) << rig.Err().toStdString();
        EXPECT_TRUE(rig.Err().contains(
            QString("'%1' answers as model 999, not as a KR820").arg(PathOf(*rig.meter))))
            << rig.Err().toStdString();
        EXPECT_TRUE(rig.OutLines().size() <= 1) << "readings taken: " << rig.Out().toStdString();
        for (const std::string& body : rig.meter->ReceivedBodies())
            EXPECT_TRUE(body == "K" || body == "A") << "sent " << body;
        EXPECT_EQ(rig.meter->Memory(), memory);
        EXPECT_EQ(rig.meter->SetupRecord(), setup);
        EXPECT_FALSE(QFile::exists(folder.filePath("never.820")));
    }
}

TEST(CliRefusals, AMeterLostIsNotReplacedByAnotherModel) {
    // The search meets the other model first, then finds the meter, which falls silent: the
    // supervision, looking for it, polls the other device too.
    auto other = StartEmulator();
    other->SetModelReply(std::string{'\x02', 'K', '9', '9', '9', '\x03'});
    other->SetState(WithT1(999));
    CliRig rig;
    rig.meter->SetState(WithT1(250));
    qputenv("KR820_PORTS", (PathOf(*other) + ':' + PathOf(*rig.meter)).toLocal8Bit());
    QTimer script;
    QObject::connect(&script, &QTimer::timeout, [&] {
        if (Polls(*rig.meter) >= 3) rig.meter->SetSilent(true);
    });
    script.start(2);
    EXPECT_EQ(rig.Run({"live", "--count", "20"}, /*withDevice=*/false), ExitCode::NoMeter)
        << rig.Err().toStdString();
    script.stop();
    EXPECT_TRUE(rig.Err().contains(
        QString("'%1' answers as model 999, not as a KR820").arg(PathOf(*other))))
        << rig.Err().toStdString();
    EXPECT_FALSE(rig.Out().contains("99.9")) << rig.Out().toStdString();
    EXPECT_TRUE(rig.Out().contains("25.0")) << rig.Out().toStdString();
}

}  // namespace
}  // namespace kr820::testing
