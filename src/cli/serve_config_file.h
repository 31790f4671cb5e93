// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <span>
#include <variant>

#include "cli/command_table.h"

namespace kr820::cli {

// A configuration file holds a command's options, one a line, as they are written on the command
// line:
//
//   # a comment: a line whose first character other than a blank is '#'
//   device /dev/serial/by-id/usb-KR820-if00-port0=oven room
//   --mqtt=mqtts://broker.lab
//   on-alarm /usr/local/bin/notify --to "lab team"
//
// The option's long name (or its letter) comes first, with or without its dashes; then, for an
// option that takes a value, a blank, '=' or both, and the value: the rest of the line with the
// blanks around it removed. Nothing in a value is special: blanks, quotes, '#' and '=' are part of
// it, as if the whole value were quoted on the command line. A relative FILE value is taken from
// the configuration file's folder, wherever the program was started.

// The option that names a configuration file.
inline constexpr char kConfigOptionName[] = "config";

// The option words a configuration file's text stands for, given the options its command takes;
// one line saying what is wrong otherwise ("line 3: unknown option 'mqtt-usr'").
std::variant<QStringList, QString> ConfigFileWords(const QString& text, const QString& folder,
                                                   std::span<const OptionRow> options);

// A command line with every --config FILE (or --config=FILE) replaced, where it stands, by the
// options the file holds, so that an option given after it wins over the file's; one line saying
// what is wrong otherwise, naming the file. `options` are those the command takes.
std::variant<QStringList, QString> WithConfigFiles(const QStringList& arguments,
                                                   std::span<const OptionRow> options);

}  // namespace kr820::cli
