#pragma once

#include "link/port.h"

namespace vshell
{

inline constexpr int AutoRunStopAttempts = 1000;
// Consecutive attempts without a single byte back after which the line counts as dead: a
// thousand time-outs would hold the station for minutes.
inline constexpr int AutoRunStopSilentLimit = 10;

// AutoRunStop until it succeeds. attempts receives how many were sent.
bool AutoRunStopRepeated(vlink::Port &port, int *attempts = nullptr);

} // namespace vshell
