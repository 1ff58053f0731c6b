#include "graphics/model/logo_copy.h"

#include "link/logo_stores.h"

namespace vgfx
{

bool readStoredLogo(vlink::Port &port, LogoStore store, int number, vlink::LogoBuffer &logo)
{
    const bool ok = vlink::LogoRead(port, store, number, logo).ok;
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
    return vlink::LogoCopyWrite(port, to, number, logo);
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
