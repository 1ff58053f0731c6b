#include "graphics/logo_copy.h"

#include "link/depot_commands.h"
#include "link/logo_commands.h"

namespace vgfx
{

bool readStoredLogo(vlink::Port &port, LogoStore store, int number, vlink::LogoBuffer &logo)
{
    const bool ok =
        store == LogoStore::Printer
            ? vlink::PrinterLogoRead(port, number, logo, vlink::LogoDisplay::Suppressed).ok
            : vlink::DPLogoRead(port, number, logo).ok;
    logo.number = number;
    return ok;
}

CopyStep copyLogo(vlink::Port &port, LogoStore from, int number, LogoStore to, int toNumber,
                  vlink::LogoBuffer &logo)
{
    if (!readStoredLogo(port, from, number, logo))
        return CopyStep::ReadFailed;
    return writeCopiedLogo(port, to, toNumber, logo) ? CopyStep::Copied : CopyStep::WriteFailed;
}

bool writeCopiedLogo(vlink::Port &port, LogoStore to, int number, const vlink::LogoBuffer &logo)
{
    return to == LogoStore::Printer ? vlink::PrinterLogoCopyWrite(port, number, logo)
                                    : vlink::DPLogoCopyWrite(port, number, logo);
}

QString copyReadFailure(LogoStore from)
{
    return from == LogoStore::Printer ? QStringLiteral("PrinterLogo Read Error")
                                      : QStringLiteral("DPLogo Read Error");
}

QString copyWriteFailure(LogoStore to)
{
    return to == LogoStore::Printer ? QStringLiteral("PrinterLogo Write Error")
                                    : QStringLiteral("DPLogo Write Error");
}

} // namespace vgfx
