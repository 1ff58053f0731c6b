#pragma once

#include "link/port.h"

#include <QString>
#include <functional>
#include <vector>

namespace bench
{

// One printer command as the station issues it, with the arguments an operator might give.
struct SoakCommand {
    QString family;
    QString name;
    std::function<bool(vlink::Port &)> run;
};

// Every family of the command library, against a printer behind a Depot unit.
std::vector<SoakCommand> soakCommands();

} // namespace bench
