#include "vprinter/device.h"

#include <QLoggingCategory>

namespace vp
{

namespace
{

Q_LOGGING_CATEGORY(lcProtocol, "vprinter", QtWarningMsg)

constexpr quint8 SpeedProbe = 0x0D;
constexpr quint8 ValueAck = 0x12;

QString hexByte(quint8 byte)
{
    return QStringLiteral("0x%1").arg(byte, 2, 16, QLatin1Char('0'));
}

quint8 bcd(int value)
{
    return quint8(((value / 10) << 4) | (value % 10));
}

int digitsValue(const QByteArray &digits, int from)
{
    return digits.mid(from, 2).toInt();
}

} // namespace

Device::Device(Kind kind, int speed) : kind_(kind), speed_(speed) {}

int Device::echoFor(qint64 index, quint8 byte) const
{
    if (faults_.silent || index == faults_.dropEchoAt)
        return -1;
    if (index == faults_.wrongEchoAt)
        return quint8(byte ^ 0x5A);
    return randomEcho(index, byte);
}

void Device::receive(quint8 byte, int lineSpeed, bool eightN1)
{
    if (lineSpeed != speed_ || !eightN1) {
        garbled(byte, lineSpeed, eightN1);
        return;
    }
    log_.append(char(byte));
    ++receivedCount_;
    pending_.append(char(byte));
    replay();
}

void Device::garbled(quint8 byte, int lineSpeed, bool eightN1)
{
    // Discovery probes every speed with 0x0D: between commands that is noise the device ignores.
    if (pending_.isEmpty() && byte == SpeedProbe && eightN1) {
        qCDebug(lcProtocol, "speed probe at %d bit/s ignored", lineSpeed);
        return;
    }
    report({receivedCount_, QStringLiteral("%1 arrived garbled: the line was at %2 bit/s%3, the "
                                           "device works at %4 bit/s 8N1")
                                .arg(hexByte(byte))
                                .arg(lineSpeed)
                                .arg(eightN1 ? QString() : QStringLiteral(" not 8N1"))
                                .arg(speed_)});
    // A byte lost in the middle of a command breaks it; the device waits for the next one.
    dropPending();
}

void Device::report(const ProtocolError &error)
{
    errors_.append(error);
    qCWarning(lcProtocol, "protocol error at byte %lld: %s", error.at, qPrintable(error.what));
}

void Device::dropPending()
{
    pendingBase_ += pending_.size();
    pending_.clear();
    pendingSent_ = 0;
    released_ = false;
    settle_ = false;
    quiet_ = false;
}

void Device::idle(int quietMs)
{
    if (pending_.isEmpty())
        return;
    if (quietMs >= HeldEchoQuietMs)
        released_ = true;
    if (quietMs >= CommitQuietMs)
        settle_ = true;
    if (quietMs >= CutOffQuietMs)
        quiet_ = true;
    replay();
}

QByteArray Device::takeOutput()
{
    QByteArray out;
    out.swap(out_);
    return out;
}

void Device::replay()
{
    while (!pending_.isEmpty()) {
        QByteArray sent;
        QList<ProtocolError> found;
        Wire w(
            pending_, pendingBase_, pendingSent_, sent,
            [this](qint64 i, quint8 b) { return echoFor(i, b); }, true, quiet_, found);
        // A print uses the mark as it began; what changes it meanwhile is a station's fault.
        const bool printing = line_.printing;
        const MarkState::Grid before = printing ? mark_.cells : MarkState::Grid{};
        try {
            dispatch(w);
        } catch (const NeedMore &) {
            if (quiet_) {
                report({pendingBase_ + pending_.size(),
                        QStringLiteral("command %1 cut off after %2 byte%3: the line went quiet")
                            .arg(hexByte(quint8(pending_[0])))
                            .arg(pending_.size())
                            .arg(pending_.size() == 1 ? "" : "s")});
                dropPending();
                return;
            }
            pendingSent_ = w.produced();
            if (!faults_.silent)
                out_.append(sent);
            return;
        }
        if (!faults_.silent)
            out_.append(sent);
        for (const ProtocolError &e : found)
            report(e);
        if (printing && before != mark_.cells)
            warn(QStringLiteral("command %1 changed the mark while it printed")
                     .arg(hexByte(quint8(pending_[0]))));
        // The command is complete; whatever follows starts the next one.
        pendingBase_ += w.consumed();
        pending_.remove(0, w.consumed());
        pendingSent_ = 0;
        released_ = false;
        settle_ = false;
        quiet_ = false;
    }
}

void Device::dispatch(Wire &w)
{
    const quint8 op = w.peek();
    if (op == 0x12) {
        prefixed(w);
        return;
    }
    w.setAnswers(printerAnswers());
    if (keyboardChannel(w))
        return;
    if (markCommand(w) || logoCommand(w))
        return;
    switch (op) {
    case 0x0B:
    case 0x0C:
        setCommand(w);
        return;
    case 0x1E:
        markOption(w);
        return;
    case 0x1A:
        clockSet(w);
        return;
    case 0x08:
        timeParams(w);
        return;
    default:
        if (op != 0x17 && op != 0x02 && op != 0x1F && op != SpeedProbe)
            w.error(QStringLiteral("%1 starts no command").arg(hexByte(op)));
        machineCommand(w, w.sb());
    }
}

// 0x12 alone is a reset; 0x12 0x23 opens a Depot command; 0x12 0x03 (sent bare) selects a printer.
void Device::prefixed(Wire &w)
{
    bool frame = false;
    w.heldSb(released_, frame);
    if (frame) {
        selectPrinter(w);
        return;
    }
    // Only a 0x12 with nothing after it is a reset once the line went quiet: a longer command
    // that stopped half way is still its own.
    if (!settle_ || !w.atEnd()) {
        const quint8 next = w.peek();
        if (next == 0x23) {
            w.sb();
            w.setAnswers(kind_ == Kind::Depot || kind_ == Kind::ViaDepot);
            depotCommand(w);
            return;
        }
        if (next == 0x2A) {
            w.sb();
            hydroCommand(w);
            return;
        }
    }
    ++printer_.resetCount;
    printer_.running = false;
    line_.nextProductMs = -1;
}

void Device::machineCommand(Wire &, quint8 op)
{
    if (!printerAnswers())
        return;
    switch (op) {
    case 0x17:
        // The start of a printer already running is a print start: one mark goes out.
        if (printer_.running) {
            printStart();
        } else {
            printer_.running = true;
            started();
        }
        ++printer_.startCount;
        specialMarkPrinted(mark_);
        break;
    case 0x02:
        printer_.running = false;
        line_.nextProductMs = -1;
        printer_.highVoltage = !printer_.highVoltage;
        ++printer_.stopCount;
        break;
    case 0x1F:
        printer_.runningNumber = 0;
        break;
    default:
        break; // echoed and ignored
    }
}

// 0x0B and 0x0C: auto-run, running-number direction, mark delete, parameters, status byte.
void Device::setCommand(Wire &w)
{
    const quint8 op = w.sb();
    if (op == 0x0B && w.peek() != 0x4D && w.peek() != 0x41) {
        w.error(QStringLiteral("command 0x0b cut off after 1 byte: %1 came next")
                    .arg(hexByte(w.peek())));
        return;
    }
    const quint8 what = w.sb();
    if (op == 0x0B) {
        if (what == 0x4D) {
            if (w.sb(0x0D) && printerAnswers()) {
                printer_.markDeleted = true;
                mark_.cells = {};
            }
        } else if (printerAnswers()) {
            printer_.autoRunStopped = true;
        }
        return;
    }
    if (what == 0x41) {
        QByteArray period;
        for (quint8 c = w.sb(); c != 0x0D; c = w.sb())
            period.append(char(c));
        if (printerAnswers())
            printer_.autoRunPeriod = period;
        return;
    }
    if (what == 0x4E) {
        const quint8 dir = w.sb();
        if (printerAnswers())
            printer_.runningForward = dir == 0x14;
        return;
    }
    if (what == 0x09) {
        // Bit 0: a mark is printing now.
        w.send(quint8(printer_.status | (line_.printing ? 0x01 : 0x00)));
        w.owed(ValueAck, "bare 0x12 after the status byte");
        return;
    }
    parameter(w, char(what));
}

void Device::parameter(Wire &w, char code)
{
    const quint8 step = w.sb();
    const auto it = printer_.params.find(code);
    quint8 value = it == printer_.params.end() ? 0 : it->second;
    if (step == 0x05) {
        w.send(value);
        w.owed(ValueAck, "bare 0x12 after the parameter value");
        return;
    }
    if (step != 0x15 && step != 0x16) {
        w.error(QStringLiteral("parameter step %1 unknown").arg(hexByte(step)));
        return;
    }
    if (!w.sb(0x05) || !printerAnswers())
        return;
    value = quint8(step == 0x15 ? qMin(255, value + 1) : qMax(0, value - 1));
    w.send(value);
    if (w.sb(0x00) && w.sb(0x0D) && it != printer_.params.end())
        it->second = value;
}

void Device::markOption(Wire &w)
{
    w.sb();
    const quint8 option = w.sb();
    if (!w.sb(0x0D) || !printerAnswers())
        return;
    quint8 &config = printer_.markConfig;
    switch (option) {
    case 0x14:
        config &= ~0x01;
        break;
    case 0x13:
        config |= 0x01;
        break;
    case 0x15:
        config |= 0x02;
        break;
    case 0x16:
        config &= ~0x02;
        break;
    case 0x44:
        config |= 0x04;
        break;
    case 0x55:
        config &= ~0x04;
        break;
    default:
        break;
    }
}

void Device::clockSet(Wire &w)
{
    w.sb();
    const quint8 which = w.sb();
    QByteArray digits;
    for (quint8 c = w.sb(); c != 0x0D; c = w.sb())
        digits.append(char(c));
    if (!printerAnswers() || digits.size() != 6)
        return;
    const QDateTime now = printer_.now();
    QDateTime target = now;
    if (which == 0x54) {
        const QTime t(digitsValue(digits, 0), digitsValue(digits, 2), digitsValue(digits, 4));
        if (t.isValid())
            target.setTime(t);
    } else if (which == 0x44) {
        const QDate d(2000 + digitsValue(digits, 4), digitsValue(digits, 2),
                      digitsValue(digits, 0));
        if (d.isValid())
            target.setDate(d);
    }
    printer_.clockOffsetMs += now.msecsTo(target);
}

QByteArray Device::timeParamsReply() const
{
    const QDateTime now = printer_.now();
    QByteArray r;
    r.append(char(printer_.markConfig));
    r.append(char(printer_.postDateDays & 0xFF));
    r.append(char(printer_.postDateDays >> 8));
    r.append(char(bcd(now.time().second())));
    r.append(char(bcd(now.time().minute())));
    r.append(char(bcd(now.time().hour())));
    r.append(char(bcd(now.date().dayOfWeek())));
    r.append(char(bcd(now.date().day())));
    r.append(char(bcd(now.date().month())));
    r.append(char(bcd(now.date().year() % 100)));
    r.append(char(printer_.autoRunPeriod.toInt() & 0xFF));
    r.append(char(printer_.axl >> 8));
    r.append(char(printer_.axl & 0xFF));
    r.append(char(printer_.fontCount));
    return r;
}

void Device::timeParams(Wire &w)
{
    w.sb();
    const QByteArray reply = printer_.timeParamsOverride.value_or(timeParamsReply());
    w.send(quint8(reply.size()));
    w.send(reply);
}

} // namespace vp
