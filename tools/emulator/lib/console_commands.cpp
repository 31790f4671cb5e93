// SPDX-License-Identifier: MIT
#include "console_commands.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <sstream>
#include <vector>

#include "download_fault_fields.h"
#include "emulator_numbers.h"
#include "emulator_options.h"
#include "logger_memory_builder.h"
#include "memory_blocks.h"
#include "memory_files.h"
#include "memory_recipe.h"
#include "meter_emulator.h"
#include "meter_fields.h"
#include "setup_fault_fields.h"

namespace kr820::emulator {
namespace {

using Words = std::vector<std::string>;

Words SplitWords(std::string_view line) {
    std::istringstream stream{std::string(line)};
    Words words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

ConsoleReply Ok(std::string detail = {}) { return {detail.empty() ? "ok" : "ok " + detail, false}; }

ConsoleReply Error(const std::string& reason) { return {"error: " + reason, false}; }

bool ParseOnOff(const std::string& word, bool* on) {
    if (word != "on" && word != "off") return false;
    *on = word == "on";
    return true;
}

std::string Degrees(std::int16_t tenthsC) {
    const int magnitude = std::abs(static_cast<int>(tenthsC));
    return (tenthsC < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." +
           std::to_string(magnitude % 10);
}

std::string Hex(std::uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

std::string DescribeChannel(const char* name, const ChannelState& channel) {
    return std::string(name) + " " + Degrees(channel.tenthsC) + " min " +
           Degrees(channel.minTenthsC) + " max " + Degrees(channel.maxTenthsC) + " rel " +
           Degrees(channel.relTenthsC) + (channel.invalid != 0 ? " invalid" : "");
}

ConsoleReply Status(const MeterEmulator& emulator) {
    const MeterState state = emulator.ReportedState();
    const std::string device = emulator.DevicePath();
    return Ok((device.empty() ? std::string("unplugged") : device) + "; " +
              DescribeChannel("t1", state.t1) + "; " + DescribeChannel("t2", state.t2) +
              "; status A " + Hex(state.statusA) + " B " + Hex(state.statusB) + "; mode " +
              std::to_string(DisplayMode(state)) + (emulator.GetMotion().wave ? "; wave" : "") +
              (emulator.IsSilent() ? "; silent" : ""));
}

ConsoleReply Set(const Words& words, MeterEmulator* emulator) {
    if (words.size() != 3) return Error("usage: set NAME VALUE");
    const std::string& name = words[1];
    const std::string& value = words[2];
    MeterState state = emulator->State();
    std::int16_t tenthsC = 0;
    bool on = false;
    int mode = 0;
    if (SetTemperature(&state, name, 0)) {
        if (!ParseTenthsC(value, &tenthsC))
            return Error("not a temperature in degrees C: " + value);
        SetTemperature(&state, name, tenthsC);
        ChannelState* channel = name == "t1" ? &state.t1 : name == "t2" ? &state.t2 : nullptr;
        // A reading the meter has shown is in its MIN and MAX. Under the wave the running
        // extremes already take it in, and touching the scripted ones would restart them.
        if (channel && !emulator->GetMotion().wave) {
            channel->minTenthsC = std::min(channel->minTenthsC, tenthsC);
            channel->maxTenthsC = std::max(channel->maxTenthsC, tenthsC);
        }
    } else if (name == "mode") {
        if (!ParseInteger(value, 0, 3, &mode)) return Error("not a display mode 0..3: " + value);
        SetDisplayMode(&state, mode);
    } else if (SetFlag(&state, name, false)) {
        if (!ParseOnOff(value, &on)) return Error(name + " takes on or off");
        SetFlag(&state, name, on);
    } else {
        return Error("nothing called " + name);
    }
    emulator->SetState(state);
    return Ok();
}

// Commands of the form "NAME on|off" that switch one thing of the emulator.
ConsoleReply Switch(const Words& words, MeterEmulator* emulator) {
    bool on = false;
    if (words.size() != 2 || !ParseOnOff(words[1], &on))
        return Error(words[0] + " takes on or off");
    const std::string& name = words[0];
    if (name == "silent") {
        emulator->SetSilent(on);
    } else if (name == "wave") {
        Motion motion = emulator->GetMotion();
        motion.wave = on;
        emulator->SetMotion(motion);
    } else if (name == "noise") {
        emulator->SetNoise(on ? std::string(kDefaultNoise) : std::string{});
    } else if (name == "split") {
        emulator->SetSplitGap(on ? kDefaultSplitGap : std::chrono::milliseconds{0});
    } else if (name == "double") {
        emulator->SetDoubleFrames(on);
    } else if (name == "head-reply") {
        DownloadFaults faults = emulator->GetDownloadFaults();
        faults.noHeaderReply = !on;
        emulator->SetDownloadFaults(faults);
    } else if (name == "paced") {
        emulator->SetByteTime(on ? kByteTimeAt19200 : std::chrono::nanoseconds{0});
    } else if (name == "long-setup-reply" || name == "clock-echo-wrong-start") {
        SetupFaults faults = emulator->GetSetupFaults();
        (name == "long-setup-reply" ? faults.longRecordReply : faults.clockEchoWrongStart) = on;
        emulator->SetSetupFaults(faults);
    }
    return Ok();
}

std::string DescribeMemory(const std::string& image) {
    const std::optional<std::uint32_t> end = EndAddressOf(image);
    char address[16] = "unreadable";
    if (end) std::snprintf(address, sizeof address, "0x%X", static_cast<unsigned>(*end));
    return "end address " + std::string(address) + ", " + std::to_string(AnnouncedBytes(image)) +
           " bytes in " + std::to_string(BlockCount(image)) + " blocks";
}

ConsoleReply Memory(const Words& words, MeterEmulator* emulator) {
    if (words.size() == 1) return Ok(DescribeMemory(emulator->Memory()));
    const std::string& action = words[1];
    if (words.size() != 3 || (action != "generate" && action != "load" && action != "save"))
        return Error("usage: memory [generate SETS | load FILE | save FILE]");
    std::string error;
    if (action == "generate") {
        std::vector<DataSet> sets;
        if (!ParseMemoryRecipe(words[2], &sets, &error)) return Error(error);
        emulator->SetMemory(BuildMemoryImage(sets));
    } else if (action == "load") {
        if (!LoadMemoryFile(words[2], emulator, &error)) return Error(error);
    } else if (!SaveMemoryFile(words[2], emulator->Memory(), &error)) {
        return Error(error);
    }
    return Ok(DescribeMemory(emulator->Memory()));
}

ConsoleReply DownloadFault(const Words& words, MeterEmulator* emulator) {
    if (words.size() != 2) return Error("usage: " + words[0] + " VALUE|off");
    DownloadFaults faults = emulator->GetDownloadFaults();
    std::string error;
    if (!SetDownloadFault(&faults, words[0], words[1], &error)) return Error(error);
    emulator->SetDownloadFaults(faults);
    return Ok();
}

ConsoleReply SetupFault(const Words& words, MeterEmulator* emulator) {
    if (words.size() != 2) return Error("usage: " + words[0] + " VALUE|off");
    SetupFaults faults = emulator->GetSetupFaults();
    std::string error;
    if (!SetSetupFault(&faults, words[0], words[1], &error)) return Error(error);
    emulator->SetSetupFaults(faults);
    return Ok();
}

}  // namespace

ConsoleReply ExecuteConsoleLine(std::string_view line, MeterEmulator* emulator) {
    const Words words = SplitWords(line);
    if (words.empty()) return {};  // an empty line gets no answer
    const std::string& command = words[0];
    if (command == "set") return Set(words, emulator);
    if (command == "silent" || command == "wave" || command == "noise" || command == "split" ||
        command == "double" || command == "head-reply" || command == "paced" ||
        command == "long-setup-reply" || command == "clock-echo-wrong-start") {
        return Switch(words, emulator);
    }
    if (command == "memory") return Memory(words, emulator);
    if (IsDownloadFaultName(command)) return DownloadFault(words, emulator);
    if (IsSetupFaultName(command)) return SetupFault(words, emulator);
    if (command == "wrong-last-byte") {
        int frames = 0;
        if (words.size() != 2 ||
            !ParseInteger(words[1], 0, std::numeric_limits<int>::max(), &frames)) {
            return Error("usage: wrong-last-byte N");
        }
        emulator->SetWrongLastByte(frames);
        return Ok();
    }
    if (command == "model-reply") {
        std::string bytes = ModelReply();
        if (words.size() > 2 || (words.size() == 2 && !ParseEscapedBytes(words[1], &bytes))) {
            return Error("usage: model-reply [TEXT with \\xHH escapes]");
        }
        emulator->SetModelReply(bytes);
        return Ok();
    }
    if (command == "unplug") {
        emulator->Unplug();
        return Ok();
    }
    if (command == "plug") {
        std::string error;
        if (!emulator->Plug(&error)) return Error(error);
        return Ok(emulator->DevicePath());
    }
    if (command == "status") return Status(*emulator);
    // One line per answer, so a driving script can pair answers with commands.
    if (command == "help") {
        return Ok(
            "set, wave, silent, noise, split, double, wrong-last-byte, model-reply, memory, "
            "head-reply, head-length, end-address, bad-sum, bad-sum-always, silent-after-block, "
            "block-noise, long-setup-reply, setup-echo-wrong-at, refuse-setup-from, "
            "clock-echo-wrong-start, paced, unplug, plug, status, help, quit (see --help)");
    }
    if (command == "quit") return {"ok", true};
    return Error("unknown command: " + command + " (try help)");
}

std::string ConsoleHelpText() {
    return R"(  set t1|t2 C            a new reading; MIN and MAX take it in
  set NAME C             NAME: t1-rel t2-rel t1-min t1-max t2-min t2-max
  set mode N             display mode 0..3
  set FLAG on|off        FLAG: auto-off rel low-battery rec-blink recording printer
                         t1-two-decimals t2-two-decimals t2-main fahrenheit type-j
                         t1-invalid t2-invalid
  wave on|off            T1 and T2 swing around their readings
  silent on|off          stop or resume answering
  noise on|off           junk in front of every live frame
  split on|off           live answers in pieces 5 ms apart
  double on|off          two frames for every poll
  wrong-last-byte N      the next N live frames end with 0x05
  model-reply [TEXT]     the answer to the model query, \xHH escapes; alone: the normal one
  memory                 the logger memory: "ok end address 0x..., N bytes in M blocks"
  memory generate SETS   a new memory from SETS (see --generate-memory; no blanks)
  memory load FILE       a new memory from a collection file, as it stands
  memory save FILE       write the memory as a clean download of it would be saved
  head-reply on|off      answer "HEAD" or not
  head-length N|off      header reply cut to, or filled with blanks to, N bytes
  end-address HEX|off    report this end address instead of the memory's own
  bad-sum K|off          block K's first sending in each download has a wrong sum
  bad-sum-always K|off   every sending of block K has a wrong sum
  silent-after-block K|off
                         send block K, then nothing more in that download
  block-noise K|off      3 junk bytes in the middle of block K's first sending
  long-setup-reply on|off
                         the setup record answered with 87 bytes, one too many
  setup-echo-wrong-at N|off
                         setup writes echoed with byte N (0..15) of the frame changed
  refuse-setup-from ADDR|off
                         setup writes to ADDR (0x40..0x71) and above: not stored, not echoed
  clock-echo-wrong-start on|off
                         the clock's echo differs in bytes 0 to 2 only
  paced on|off           bytes at the pace of 19200 baud (0.52 ms each)
  unplug                 close the pseudo-terminal: an open port hangs up, links go away
  plug                   a new pseudo-terminal, links re-pointed; answers "ok DEVICE"
  status                 what a poll would report now
  help                   the command names
  quit                   stop the emulator, as SIGTERM does
)";
}

}  // namespace kr820::emulator
