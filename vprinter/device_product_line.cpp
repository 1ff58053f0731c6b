#include "vprinter/device.h"
#include "vprinter/mark_render.h"

#include <QLoggingCategory>
#include <algorithm>
#include <utility>

namespace vp
{

namespace
{

Q_LOGGING_CATEGORY(lcLine, "vprinter", QtWarningMsg)

QList<QByteArray> cellTexts(const MarkState &mark, quint8 fontCount)
{
    QList<QByteArray> texts;
    for (const auto &row : mark.cells)
        for (const MarkFragment &f : row) {
            if (f.kind == MarkFragment::TextOrGraphic && f.number == fontCount)
                texts.append("[logo " + QByteArray::number(f.logo) + ']');
            else if (!f.text.isEmpty())
                texts.append(f.text);
        }
    return texts;
}

} // namespace

void Device::setProductLine(int productsPerMinute, int columnsPerSecond)
{
    line_.productsPerMinute = std::max(0, productsPerMinute);
    line_.columnsPerSecond = std::max(1, columnsPerSecond);
}

void Device::warn(const QString &what)
{
    warnings_.append(what);
    qCWarning(lcLine, "protocol warning at byte %lld: %s", receivedCount_, qPrintable(what));
}

void Device::started()
{
    if (line_.productsPerMinute > 0)
        line_.nextProductMs = line_.nowMs + line_.productPeriodMs();
}

void Device::printStart()
{
    if (line_.printing) {
        warn(QStringLiteral("print start while a mark is printing: no second print"));
        return;
    }
    beginPrint();
}

void Device::beginPrint()
{
    line_.printingTexts = cellTexts(mark_, printer_.fontCount);
    const qint64 width = qint64(renderMark(mark_, printer_, logos_).columns.size());
    print();
    line_.printing = true;
    line_.printEndsMs = line_.nowMs + std::max<qint64>(1, width * 1000 / line_.columnsPerSecond);
    if (!line_.clocked)
        endPrint();
}

void Device::endPrint()
{
    line_.printing = false;
    line_.printed.append({line_.printEndsMs, printer_.printCount, line_.printingTexts});
}

qint64 Device::nextLineEventMs() const
{
    qint64 next = line_.printing ? line_.printEndsMs : -1;
    if (printer_.running && line_.nextProductMs >= 0 && (next < 0 || line_.nextProductMs < next))
        next = line_.nextProductMs;
    return next;
}

void Device::advanceTo(qint64 ms)
{
    line_.clocked = true;
    for (qint64 at = nextLineEventMs(); at >= 0 && at <= ms; at = nextLineEventMs()) {
        line_.nowMs = std::max(line_.nowMs, at);
        if (line_.printing && line_.printEndsMs <= at) {
            endPrint();
            continue;
        }
        line_.nextProductMs += line_.productPeriodMs();
        if (line_.printing)
            ++line_.productsMissed;
        else
            beginPrint();
    }
    line_.nowMs = std::max(line_.nowMs, ms);
}

QList<PrintedMark> Device::takePrinted()
{
    return std::exchange(line_.printed, {});
}

} // namespace vp
