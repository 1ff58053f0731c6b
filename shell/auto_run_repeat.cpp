#include "shell/auto_run_repeat.h"

#include "link/machine_commands.h"
#include "shell/answer_watch.h"

namespace vshell
{

bool AutoRunStopRepeated(vlink::Port &port, int *attempts)
{
    AnswerWatch watch(port);
    int silent = 0;
    int sent = 0;
    bool ok = false;
    while (!ok && sent < AutoRunStopAttempts && silent < AutoRunStopSilentLimit) {
        watch.reset();
        ++sent;
        ok = vlink::AutoRunStop(watch);
        silent = watch.answered() > 0 ? 0 : silent + 1;
    }
    if (attempts)
        *attempts = sent;
    return ok;
}

} // namespace vshell
