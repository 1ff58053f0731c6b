#include "link/depot_commands.h"

#include "link/exchange.h"
#include "link/logo_record.h"

namespace vlink
{

namespace
{

quint8 op(DepotOp o)
{
    return quint8(o);
}

Sequence &open(Sequence &seq, DepotOp command)
{
    return seq.send({op(DepotOp::Prefix), op(DepotOp::Depot), op(command)});
}

bool writeDepotLogo(Port &port, int number, const LogoBuffer &logo, DotEncoding encoding)
{
    if (!FitsByte(number) || !FitsRecord(logo) || !FitsEncoding(logo, encoding))
        return false;
    Sequence seq(port);
    open(seq, DepotOp::Write).send(quint8(number));
    return SendLogoRecord(seq, logo, encoding).ok();
}

bool setting(Port &port, DepotOp command, int value)
{
    if (!FitsByte(value))
        return false;
    Sequence seq(port);
    return open(seq, command).send(quint8(value)).ok();
}

} // namespace

bool DPLogoWrite(Port &port, int number, const LogoBuffer &logo)
{
    return writeDepotLogo(port, number, logo, DotEncoding::Reversed);
}

bool DPLogoCopyWrite(Port &port, int number, const LogoBuffer &logo)
{
    return writeDepotLogo(port, number, logo, DotEncoding::Kept);
}

bool DPLogoDelete(Port &port, int number)
{
    return DPLogoWrite(port, number, LogoBuffer::deleted());
}

LogoOutcome DPLogoRead(Port &port, int number, LogoBuffer &logo)
{
    LogoOutcome outcome;
    if (!FitsByte(number))
        return outcome;
    PrepareRead(logo, number);
    quint8 height = 0;
    quint8 width = 0;
    Sequence seq(port);
    open(seq, DepotOp::Read)
        .delay(DepotReadPauseMs)
        .send(quint8(number))
        .delay(DepotReadPauseMs)
        .read(height)
        .delay(DepotReadPauseMs)
        .read(width);
    if (seq.ok())
        ReceiveLogoRecord(seq, logo, height, width);
    outcome.ok = seq.ok();
    return outcome;
}

bool DPLogoView(Port &port, int number, LogoBuffer &logo)
{
    if (!FitsByte(number))
        return false;
    PrepareRead(logo, number);
    quint8 height = 0;
    quint8 width = 0;
    Sequence seq(port);
    open(seq, DepotOp::Read).send(quint8(number)).delay(DepotViewPauseMs);
    ReadWithin(seq, height, LogoViewWaitMs).delay(DepotViewPauseMs).read(width);
    if (seq.ok())
        ReceiveLogoRecord(seq, logo, height, width);
    return seq.ok();
}

bool DPLogoNamesRead(Port &port, LogoNames &names, NamesRead *result)
{
    Sequence seq(port);
    open(seq, DepotOp::Names).send(op(DepotOp::Zero));
    const NamesRead read = ReceiveLogoNames(seq, names);
    if (result)
        *result = read;
    return read == NamesRead::Ok;
}

bool BankNumSet(Port &port, int bank)
{
    return setting(port, DepotOp::Bank, bank);
}

bool MaxBankNumSet(Port &port, int count)
{
    return setting(port, DepotOp::MaxBank, count);
}

bool DPVersionRead(Port &port, QByteArray &text)
{
    text.clear();
    Sequence seq(port);
    open(seq, DepotOp::Version).send(op(DepotOp::Zero)).delay(DepotVersionPauseMs);
    while (seq.ok()) {
        quint8 byte = 0;
        if (!seq.read(byte))
            break;
        if (byte == 0x00)
            return true;
        if (text.size() >= DepotVersionMax)
            return false;
        text.append(char(byte));
    }
    return false;
}

bool DPCommandU0(Port &port, int &depotBank)
{
    depotBank = 0;
    BankNumSet(port, 0); // its outcome does not stop the "U0"
    Sequence seq(port);
    return open(seq, DepotOp::Command).send({op(DepotOp::Zero), op(DepotOp::Prefix)}).ok();
}

} // namespace vlink
