#pragma once

#include "vprinter/device.h"

#include <QStringList>

// Fails the running test when the virtual printer counted other protocol errors than expected
// (-1: any number). The line is taken as quiet for good first, so what the station left half
// done counts too. The fixtures call it as they end; a device with faults injected expects any.
void checkProtocol(vp::Device &device, int expected);
// The same for a count reported from elsewhere (the vprinter program), with its error lines.
void checkProtocolCount(int count, int expected, const QStringList &errors);
// Fails the running test on any protocol warning: a careful station causes none.
void checkProtocolWarnings(const QStringList &warnings);
