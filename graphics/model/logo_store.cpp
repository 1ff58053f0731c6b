#include "graphics/model/logo_store.h"

#include "link/depot_commands.h"

#include <algorithm>

namespace vgfx
{

int maxLogoNumber(LogoStore store)
{
    return store == LogoStore::Printer ? 255 : vlink::DepotLogos - 1;
}

QString maxFragmentText(LogoStore store)
{
    return QStringLiteral("Maximum Fragment №=%1").arg(maxLogoNumber(store));
}

bool writeComposedLogo(vlink::Port &port, LogoStore store, int number,
                       const vlink::LogoBuffer &logo, const QByteArray &name)
{
    vlink::LogoBuffer written = logo;
    written.width = std::min(written.width, MaxWrittenWidth);
    written.name = name;
    return vlink::LogoWrite(port, store, number, written);
}

bool readLogoNames(vlink::Port &port, LogoStore store, vlink::LogoNames &names,
                   vlink::NamesRead *result)
{
    return vlink::LogoNamesRead(port, store, names, result);
}

} // namespace vgfx
