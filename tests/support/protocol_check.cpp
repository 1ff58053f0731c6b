#include "support/protocol_check.h"

#include <QTest>

void checkProtocolCount(int count, int expected, const QStringList &errors)
{
    if (expected < 0 || count == expected || QTest::currentTestFailed())
        return;
    const QString text = QStringLiteral("the virtual printer counted %1 protocol errors, %2 "
                                        "expected:\n%3")
                             .arg(count)
                             .arg(expected)
                             .arg(errors.join(u'\n'));
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(text), __FILE__, __LINE__);
    else
        qCritical("%s", qPrintable(text));
}

void checkProtocolWarnings(const QStringList &warnings)
{
    if (warnings.isEmpty() || QTest::currentTestFailed())
        return;
    const QString text = QStringLiteral("the virtual printer counted %1 protocol warnings:\n%2")
                             .arg(warnings.size())
                             .arg(warnings.join(u'\n'));
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(text), __FILE__, __LINE__);
    else
        qCritical("%s", qPrintable(text));
}

void checkProtocol(vp::Device &device, int expected)
{
    checkProtocolWarnings(device.protocolWarnings());
    if (device.faults().any())
        return;
    device.finish();
    QStringList lines;
    for (const vp::ProtocolError &e : device.protocolErrors())
        lines << QStringLiteral("at byte %1: %2").arg(e.at).arg(e.what);
    checkProtocolCount(int(lines.size()), expected, lines);
}
