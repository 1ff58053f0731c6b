#include "link/printer_clock.h"

namespace vlink
{

int fromBcd(quint8 byte)
{
    return (byte >> 4) * 10 + (byte & 0x0F);
}

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

int postDateDays(const TimeParams &params)
{
    return timeParam(params, TimeParam::DaysHigh) * 256 + timeParam(params, TimeParam::DaysLow);
}

QString clockText(const TimeParams &params)
{
    const auto bcd = [&params](TimeParam which) { return fromBcd(timeParam(params, which)); };
    return QStringLiteral("20%1-%2-%3 %4:%5:%6")
        .arg(twoDigits(bcd(TimeParam::Year)), twoDigits(bcd(TimeParam::Month)),
             twoDigits(bcd(TimeParam::Day)), twoDigits(bcd(TimeParam::Hours)),
             twoDigits(bcd(TimeParam::Minutes)), twoDigits(bcd(TimeParam::Seconds)));
}

QByteArray timeText(const QTime &time)
{
    return time.toString(QStringLiteral("HHmmss")).toLatin1();
}

QByteArray dateText(const QDate &date)
{
    return date.toString(QStringLiteral("ddMMyy")).toLatin1();
}

std::optional<PrinterCommand> ClockSetFrom(Port &port, const QDateTime &moment)
{
    if (!TimeSet(port, timeText(moment.time())))
        return PrinterCommand::TimeSet;
    if (!DateSet(port, dateText(moment.date())))
        return PrinterCommand::DateSet;
    return std::nullopt;
}

} // namespace vlink
