#include "graphics/logo_store.h"

#include "link/depot_commands.h"
#include "link/logo_commands.h"

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
    return store == LogoStore::Printer ? vlink::PrinterLogoWrite(port, number, written)
                                       : vlink::DPLogoWrite(port, number, written);
}

bool readLogoNames(vlink::Port &port, LogoStore store, vlink::LogoNames &names,
                   vlink::NamesRead *result)
{
    return store == LogoStore::Printer ? vlink::PrinterLogoNamesRead(port, names, result)
                                       : vlink::DPLogoNamesRead(port, names, result);
}

} // namespace vgfx
