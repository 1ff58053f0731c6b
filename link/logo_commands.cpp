#include "link/logo_commands.h"

#include "link/exchange.h"
#include "link/logo_record.h"

namespace vlink
{

namespace
{

quint8 op(LogoOp o)
{
    return quint8(o);
}

bool writeLogo(Port &port, int number, const LogoBuffer &logo, DotEncoding encoding)
{
    if (!FitsByte(number) || !FitsRecord(logo) || !FitsEncoding(logo, encoding))
        return false;
    Sequence seq(port);
    seq.send({op(LogoOp::Logo), op(LogoOp::Write), quint8(number)});
    return SendLogoRecord(seq, logo, encoding).ok();
}

} // namespace

bool PrinterLogoWrite(Port &port, int number, const LogoBuffer &logo)
{
    return writeLogo(port, number, logo, DotEncoding::Reversed);
}

bool PrinterLogoCopyWrite(Port &port, int number, const LogoBuffer &logo)
{
    return writeLogo(port, number, logo, DotEncoding::Kept);
}

bool PrinterLogoDelete(Port &port, int number)
{
    return PrinterLogoWrite(port, number, LogoBuffer::deleted());
}

LogoOutcome PrinterLogoRead(Port &port, int number, LogoBuffer &logo)
{
    LogoOutcome outcome;
    if (!FitsByte(number))
        return outcome;
    PrepareRead(logo, number);
    Sequence seq(port);
    if (!seq.send(op(LogoOp::Logo))) {
        outcome.failedOnFirstByte = true;
        return outcome;
    }
    quint8 height = 0;
    quint8 width = 0;
    seq.send({op(LogoOp::Read), quint8(number)}).read(height).read(width);
    if (seq.ok())
        ReceiveLogoRecord(seq, logo, height, width);
    outcome.ok = seq.ok();
    return outcome;
}

bool PrinterLogoView(Port &port, int number, LogoBuffer &logo)
{
    if (!FitsByte(number))
        return false;
    PrepareRead(logo, number);
    quint8 height = 0;
    quint8 width = 0;
    Sequence seq(port);
    seq.send({op(LogoOp::Logo), op(LogoOp::View), quint8(number)});
    ReadWithin(seq, height, LogoViewWaitMs).read(width);
    if (seq.ok())
        ReceiveLogoView(seq, logo, height, width);
    return seq.ok();
}

LogoOutcome PrinterLogoRename(Port &port, int number, const QByteArray &name, LogoBuffer &logo)
{
    LogoOutcome outcome = PrinterLogoRead(port, number, logo);
    if (!outcome.ok)
        return outcome;
    Delay(port, RenamePauseMs);
    logo.name = name.left(LogoBuffer::NameLength);
    outcome.ok = PrinterLogoCopyWrite(port, number, logo);
    return outcome;
}

bool PrinterLogoNamesRead(Port &port, LogoNames &names, NamesRead *result)
{
    Sequence seq(port);
    seq.send({quint8(LogoNamesOp::First), quint8(LogoNamesOp::Names)});
    const NamesRead read = ReceiveLogoNames(seq, names);
    if (result)
        *result = read;
    return read == NamesRead::Ok;
}

} // namespace vlink
