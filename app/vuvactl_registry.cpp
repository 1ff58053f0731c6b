#include "app/vuvactl_commands.h"

// Empty stand-ins for families whose files are not in the build; a file that defines the
// function replaces them at link time.

namespace vuvactl
{

__attribute__((weak)) Commands markCommands()
{
    return {};
}

__attribute__((weak)) Commands logoCommands()
{
    return {};
}

} // namespace vuvactl
