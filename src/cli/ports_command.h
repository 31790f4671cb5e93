// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>

#include "cli/cli_arguments.h"
#include "cli/cli_io.h"
#include "cli/exit_codes.h"

namespace kr820::link {
class Clock;
class DevicePort;
}  // namespace kr820::link

namespace kr820::cli {

using PortMaker = std::function<std::unique_ptr<link::DevicePort>()>;

// "ports": the devices the search would try, one a line; with --probe each followed by a tab and
// "meter" or "-". Exit NoMeter when probing found none.
ExitCode RunPorts(const CliArguments& arguments, const PortMaker& makePort, link::Clock& clock,
                  CliIo& io);

}  // namespace kr820::cli
