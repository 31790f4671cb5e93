// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <algorithm>
#include <string>
#include <vector>

#include "command_parser.h"
#include "meter_answers.h"

namespace kr820::testing {

// The emulator's meter without its line, for a scripted port: what is written is cut into
// frames by the emulator's parser and answered from its meter state, on the test's time.
class ScriptedMeter {
public:
    QByteArray Answer(const QByteArray& written) {
        std::string reply;
        for (const std::string& body : m_parser.Feed(written.toStdString())) {
            bodies.push_back(body);
            if (!silent) reply += answers.Answer(body, std::chrono::milliseconds(0));
        }
        return QByteArray::fromStdString(reply);
    }
    // What a scripted port calls for each write.
    auto Answerer() {
        return [this](const QByteArray& written) { return Answer(written); };
    }
    int Count(const std::string& body) const {
        return static_cast<int>(std::count(bodies.begin(), bodies.end(), body));
    }

    emulator::MeterAnswers answers;
    bool silent = false;
    std::vector<std::string> bodies;  // every frame received, answered or not

private:
    emulator::CommandParser m_parser;
};

}  // namespace kr820::testing
