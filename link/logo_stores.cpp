#include "link/logo_stores.h"

#include "link/depot_commands.h"

namespace vlink
{

namespace
{

using C = PrinterCommand;

struct Pair {
    C printer;
    C depot;
};

// In the order of LogoCall.
constexpr Pair Commands[] = {
    {C::PrinterLogoWrite, C::DPLogoWrite},
    {C::PrinterLogoWrite, C::DPLogoWrite}, // a copy is reported as the write it is
    {C::PrinterLogoRead, C::DPLogoRead},
    {C::PrinterLogoView, C::DPLogoView},
    {C::PrinterLogoDelete, C::DPLogoDelete},
    {C::PrinterLogoNamesRead, C::DPLogoNamesRead},
};

bool printer(Store store)
{
    return store == Store::Printer;
}

} // namespace

PrinterCommand logoCommand(LogoCall call, Store store)
{
    const Pair &pair = Commands[std::size_t(call)];
    return printer(store) ? pair.printer : pair.depot;
}

QString logoFailure(LogoCall call, Store store)
{
    return failureText(logoCommand(call, store));
}

bool LogoWrite(Port &port, Store store, int number, const LogoBuffer &logo)
{
    return printer(store) ? PrinterLogoWrite(port, number, logo) : DPLogoWrite(port, number, logo);
}

bool LogoCopyWrite(Port &port, Store store, int number, const LogoBuffer &logo)
{
    return printer(store) ? PrinterLogoCopyWrite(port, number, logo)
                          : DPLogoCopyWrite(port, number, logo);
}

LogoOutcome LogoRead(Port &port, Store store, int number, LogoBuffer &logo)
{
    return printer(store) ? PrinterLogoRead(port, number, logo) : DPLogoRead(port, number, logo);
}

bool LogoView(Port &port, Store store, int number, LogoBuffer &logo)
{
    return printer(store) ? PrinterLogoView(port, number, logo) : DPLogoView(port, number, logo);
}

bool LogoDelete(Port &port, Store store, int number)
{
    return printer(store) ? PrinterLogoDelete(port, number) : DPLogoDelete(port, number);
}

bool LogoNamesRead(Port &port, Store store, LogoNames &names, NamesRead *result)
{
    return printer(store) ? PrinterLogoNamesRead(port, names, result)
                          : DPLogoNamesRead(port, names, result);
}

} // namespace vlink
