// Writes the seed corpus: for every command target, the bytes the virtual printer sends while
// the command runs against it (echoes included), after the variant byte; for the file readers,
// a few files of the kinds the station meets.

#include "fuzzing/targets.h"

#include "graphics/model/logo_bmp.h"
#include "link/depot_commands.h"
#include "link/logo_commands.h"
#include "link/mark_commands.h"
#include "vprinter/device.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

// The station's port wired to a device in memory; while recording, every byte read is kept.
class SeedPort : public vlink::Port
{
public:
    explicit SeedPort(vp::Device &device) : device_(device) {}

    bool recording = false;
    QByteArray recorded;

    bool testCom(int index) override { return index == 0; }
    bool openCom(int index) override { return testCom(index); }
    void closeCom() override {}
    bool isOpen() const override { return true; }
    bool setBaud(int) override { return true; }
    bool writeByte(quint8 byte) override
    {
        device_.receive(byte, device_.speed());
        rx_ += device_.takeOutput();
        return true;
    }
    bool writeBlock(const QByteArray &block, int &written) override
    {
        for (char c : block)
            writeByte(quint8(c));
        written = int(block.size());
        return true;
    }
    bool readByte(quint8 &byte) override
    {
        device_.idle(vp::Device::HeldEchoQuietMs);
        rx_ += device_.takeOutput();
        if (rx_.isEmpty())
            return false;
        byte = quint8(rx_.front());
        rx_.remove(0, 1);
        if (recording)
            recorded.append(char(byte));
        return true;
    }
    bool readByteWithin(quint8 &byte, int) override { return readByte(byte); }
    void purge() override { rx_ += device_.takeOutput(); }
    void setRts(bool) override {}
    QString deviceName() const override { return QStringLiteral("seed"); }
    Clock::time_point now() const override { return now_; }
    void sleepUntil(Clock::time_point moment) override { now_ = std::max(now_, moment); }

private:
    vp::Device &device_;
    QByteArray rx_;
    Clock::time_point now_{};
};

bool save(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// What the device holds before the reads: logos, texts in the mark, a script.
void stock(vlink::Port &port)
{
    vlink::LogoBuffer logo;
    logo.width = 12;
    logo.height = 2;
    for (int c = 0; c < logo.width; ++c)
        logo.at(c, c % 2) = quint8(0x81 + c);
    for (int n : {3, 7}) {
        logo.name = QByteArrayLiteral("LOGO") + QByteArray::number(n);
        vlink::PrinterLogoWrite(port, n, logo);
        vlink::DPLogoWrite(port, n, logo);
    }
    vlink::TextFragmentWrite(port, 0, 0, QByteArrayLiteral("AB12"));
    vlink::TextFragmentWrite(port, 1, 2, QByteArrayLiteral("LOT 7"));
    vlink::SpecFuncWrite(port, {"1", "10", "99", "1", "2", "12"});
}

bool writeCommandSeeds(const FuzzTarget &target, const QDir &dir)
{
    for (int variant = 0; variant < target.variants; ++variant) {
        vp::Device device(vp::Kind::ViaDepot);
        SeedPort port(device);
        stock(port);
        port.recording = true;
        target.drive(port, quint8(variant));
        const QByteArray seed = QByteArray(1, char(variant)) + port.recorded;
        if (!save(dir.filePath(QStringLiteral("seed-%1").arg(variant)), seed))
            return false;
    }
    return true;
}

QByteArray bmpOf(const QImage &image, QTemporaryDir &scratch)
{
    const QString path = scratch.filePath(QStringLiteral("seed.bmp"));
    image.save(path, "BMP");
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBmpSeeds(const QDir &dir)
{
    QTemporaryDir scratch;
    QImage mono(20, 10, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1);
    for (int i = 0; i < 10; ++i)
        mono.setPixel(i * 2, i, 0);
    QImage colour(6, 5, QImage::Format_RGB32);
    colour.fill(qRgb(200, 30, 30));
    const QByteArray good = bmpOf(mono, scratch);
    return save(dir.filePath(QStringLiteral("seed-mono")), good) &&
           save(dir.filePath(QStringLiteral("seed-colour")), bmpOf(colour, scratch)) &&
           save(dir.filePath(QStringLiteral("seed-truncated")), good.left(good.size() - 7));
}

bool writeSettingsSeeds(const QDir &dir)
{
    return save(dir.filePath(QStringLiteral("seed-0")),
                "[PortParams]\r\nComInteger=0\r\nDevice1=/dev/pts/3\r\nCodePage=Windows-1251\r\n"
                "\r\n; the operator's own lines\r\n[Other]\r\nkey = value\r\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    for (const FuzzTarget &target : fuzzTargets()) {
        const QString name = QString::fromLatin1(target.name);
        if (!corpus.exists(name))
            continue; // a target without a corpus folder is not built
        const QDir dir(corpus.filePath(name));
        bool ok = true;
        if (target.drive)
            ok = writeCommandSeeds(target, dir);
        else if (name == QLatin1String("bmp_logo"))
            ok = writeBmpSeeds(dir);
        else if (name == QLatin1String("settings_file"))
            ok = writeSettingsSeeds(dir);
        if (!ok) {
            std::fprintf(stderr, "cannot write the seeds of %s\n", target.name);
            return 1;
        }
    }
    return 0;
}
