// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>

namespace kr820::link {

class Clock;
class DevicePort;

// Whether the bytes answer the model query as this meter does.
bool IsModelReply(QByteArrayView reply);

// The model a whole reply to the model query names, for a device that answered as another
// model ("999"): the reply without its frame and echo, bytes that are no text in hexadecimal.
QString ModelNamedIn(QByteArrayView reply);

// Opens the port, asks the model query, and closes it again: whether a meter answered. Processes
// no events; returns as soon as the reply is in.
bool ProbeForMeter(DevicePort& port, Clock& clock);

}  // namespace kr820::link
