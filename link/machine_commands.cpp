#include "link/machine_commands.h"

#include "link/exchange.h"

namespace vlink
{

namespace
{

quint8 op(MachineOp o)
{
    return quint8(o);
}
quint8 arg(MachineArg a)
{
    return quint8(a);
}

bool single(Port &port, MachineOp o)
{
    return Sequence(port).send(op(o)).ok();
}

bool markOption(Port &port, MachineArg a)
{
    return Sequence(port).send({op(MachineOp::MarkOption), arg(a), arg(MachineArg::End)}).ok();
}

bool paramsStep(Port &port, quint8 code, MachineArg direction, quint8 &value)
{
    return Sequence(port)
        .send({op(MachineOp::Set), code, arg(direction), arg(MachineArg::Query)})
        .read(value)
        .send({0x00, arg(MachineArg::End)})
        .ok();
}

bool clockSet(Port &port, MachineArg which, const QByteArray &digits)
{
    return Sequence(port).send({op(MachineOp::Clock), arg(which)}).text(digits.left(6)).ok();
}

} // namespace

bool StartCommand(Port &port)
{
    return single(port, MachineOp::Start);
}

bool StopCommand(Port &port)
{
    return single(port, MachineOp::Stop);
}

bool PrintStart(Port &port)
{
    return single(port, MachineOp::Start);
}

bool HighVoltageTurn(Port &port)
{
    return single(port, MachineOp::Stop);
}

bool Reset(Port &port)
{
    return single(port, MachineOp::Reset);
}

bool RunningNumberReset(Port &port)
{
    return single(port, MachineOp::RunningNumberReset);
}

bool AutoRunStop(Port &port)
{
    return Sequence(port).send({op(MachineOp::Clear), arg(MachineArg::AutoRun)}).ok();
}

bool AutoRunPeriodSet(Port &port, const QByteArray &period)
{
    QByteArray digits = TrimText(period);
    while (digits.size() < 3)
        digits.prepend('0');
    return Sequence(port).send({op(MachineOp::Set), arg(MachineArg::AutoRun)}).text(digits).ok();
}

bool RunningNumberForward(Port &port)
{
    return Sequence(port)
        .send({op(MachineOp::Set), arg(MachineArg::RunningNumber), arg(MachineArg::Forward)})
        .ok();
}

bool RunningNumberBack(Port &port)
{
    return Sequence(port)
        .send({op(MachineOp::Set), arg(MachineArg::RunningNumber), arg(MachineArg::Back)})
        .ok();
}

bool MarkPrintForward(Port &port)
{
    return markOption(port, MachineArg::Forward);
}

bool MarkPrintBack(Port &port)
{
    return markOption(port, MachineArg::Back);
}

bool MarkBreakPointCorrOn(Port &port)
{
    return markOption(port, MachineArg::BreakPointOn);
}

bool MarkBreakPointCorrOff(Port &port)
{
    return markOption(port, MachineArg::BreakPointOff);
}

bool MarkRotateOn(Port &port)
{
    return markOption(port, MachineArg::RotateOn);
}

bool MarkRotateOff(Port &port)
{
    return markOption(port, MachineArg::RotateOff);
}

bool MarkDelete(Port &port)
{
    return Sequence(port)
        .send({op(MachineOp::Clear), arg(MachineArg::Mark), arg(MachineArg::End)})
        .ok();
}

bool ParamsRead(Port &port, quint8 code, quint8 &value)
{
    return Sequence(port)
        .send({op(MachineOp::Set), code, arg(MachineArg::Query)})
        .read(value)
        .bare(arg(MachineArg::Ack))
        .ok();
}

bool ParamsIncrease(Port &port, quint8 code, quint8 &value)
{
    return paramsStep(port, code, MachineArg::StepUp, value);
}

bool ParamsDecrease(Port &port, quint8 code, quint8 &value)
{
    return paramsStep(port, code, MachineArg::StepDown, value);
}

bool ByteStatusRead(Port &port, quint8 &value)
{
    return Sequence(port)
        .send({op(MachineOp::Set), arg(MachineArg::Status)})
        .read(value)
        .bare(arg(MachineArg::Ack))
        .ok();
}

bool TimeSet(Port &port, const QByteArray &hhmmss)
{
    return clockSet(port, MachineArg::Time, hhmmss);
}

bool DateSet(Port &port, const QByteArray &ddmmyy)
{
    return clockSet(port, MachineArg::Date, ddmmyy);
}

bool TimeParamsRead(Port &port, TimeParams &params)
{
    int filled = 0;
    return TimeParamsRead(port, params, filled);
}

bool TimeParamsRead(Port &port, TimeParams &params, int &filled)
{
    filled = 0;
    quint8 count = 0;
    Sequence seq(port);
    seq.send(op(MachineOp::TimeParams)).read(count);
    for (int i = 0; i < count && seq.ok(); ++i) {
        quint8 byte = 0;
        seq.read(byte);
        if (seq.ok() && i < TimeParamCount) {
            params[i] = byte;
            filled = i + 1;
        }
    }
    return seq.ok();
}

} // namespace vlink
