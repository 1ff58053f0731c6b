#include "shell/kelm_main.h"

namespace vshell
{

void TAutoControl::wireLogos()
{
    using vgfx::LogoStore;
    const auto load = [this] { logoFlow_.logoLoad(LogoStore::Printer); };
    const auto read = [this] { logoFlow_.logoRead(); };
    on(c_.Load1, load);
    on(c_.TbLogoLoad, load);
    on(c_.Read2, read);
    on(c_.TbLogoRead, read);
    on(c_.DepotLogoLoad1, [this] { logoFlow_.logoLoad(LogoStore::Depot); });
}

} // namespace vshell
