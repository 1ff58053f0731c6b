#include "link/exchange.h"
#include "link/logo_commands.h"
#include "link/logo_record.h"
#include "link/mark_image.h"
#include "support/memory_port.h"
#include "support/table_rows.h"

#include <QElapsedTimer>
#include <QTest>
#include <functional>

using namespace vlink;
using namespace std::chrono_literals;

namespace
{

// A port with a clock of its own: a silent read costs its time-out in that clock, none in ours.
class OwnTimePort : public MemoryPort
{
public:
    using MemoryPort::MemoryPort;
    Clock::time_point now() const override { return now_; }
    void sleepUntil(Clock::time_point moment) override { now_ = std::max(now_, moment); }
    bool readByte(quint8 &byte) override { return readByteWithin(byte, ReadTotalConstantMs); }
    bool readByteWithin(quint8 &byte, int timeoutMs) override
    {
        if (MemoryPort::readByte(byte))
            return true;
        now_ += std::chrono::milliseconds(timeoutMs);
        return false;
    }
    Clock::duration passed() const { return now_ - Clock::time_point{}; }

private:
    Clock::time_point now_{};
};

} // namespace

class TestPortTime : public QObject
{
    Q_OBJECT

private slots:
    void waitsRunOnThePortsClock();
};

void TestPortTime::waitsRunOnThePortsClock()
{
    // Pauses, receive retries and reply deadlines all wait in the port's time: against a silent
    // line they pass at least their bound there, and next to nothing here.
    LogoBuffer logo;
    MarkImage image;
    const struct {
        const char *name;
        std::function<bool(Port &)> command;
        Port::Clock::duration atLeast;
    } rows[] = {
        {"pause", [](Port &p) { return Sequence(p).delay(700).ok(); }, 700ms},
        {"receive retries",
         [](Port &p) {
             quint8 b = 0;
             return ReceiveByte(p, b);
         },
         ReceiveAttempts * ReceiveRetryMs * 1ms},
        {"logo view reply", [&logo](Port &p) { return PrinterLogoView(p, 5, logo); },
         LogoViewWaitMs * 1ms},
        {"mark image rows", [&image](Port &p) { return MarkImageRead(p, image); },
         MarkImageRowsWaitMs * 1ms},
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device(vp::Kind::None);
        OwnTimePort port(device);
        QElapsedTimer timer;
        timer.start();
        const bool ok = row.command(port);
        QCOMPARE(ok, std::string_view(row.name) == "pause");
        QVERIFY(port.passed() >= row.atLeast);
        QVERIFY2(timer.elapsed() < 300, qPrintable(QString::number(timer.elapsed())));
    });
}

QTEST_GUILESS_MAIN(TestPortTime)
#include "tst_port_time.moc"
