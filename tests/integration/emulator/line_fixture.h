// SPDX-License-Identifier: MIT
// A started emulator and the application's end of its line, for tests that talk to it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "hex.h"
#include "meter_emulator.h"
#include "slave_line.h"

namespace kr820::emulator::testing {

inline const std::string kModelQuery = FromHex("024BCB03");
inline const std::string kLivePoll = FromHex("0241C103");

class EmulatorOnLine : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(m_emulator.Start(&error)) << error;
        m_line = std::make_unique<SlaveLine>(m_emulator.DevicePath());
        ASSERT_TRUE(m_line->IsOpen()) << m_emulator.DevicePath();
    }

    // Sends, waits for the expected answer, then collects anything behind it, so surplus bytes
    // (an echo, a second answer) show up as a mismatch instead of going unnoticed.
    std::string Exchange(const std::string& frame, std::size_t expectedBytes) {
        using namespace std::chrono_literals;
        EXPECT_TRUE(m_line->Write(frame));
        std::string answer = m_line->Read(expectedBytes, 1s);
        return answer + m_line->ReadAll(100ms);
    }

    MeterEmulator m_emulator;
    std::unique_ptr<SlaveLine> m_line;
};

}  // namespace kr820::emulator::testing
