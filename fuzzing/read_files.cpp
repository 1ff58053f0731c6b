#include "fuzzing/targets.h"

#include "graphics/model/bmp_file.h"
#include "graphics/model/logo_bmp.h"
#include "link/logo_record.h"
#include "link/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace
{

// The readers take a path: the input goes to a file of its own first.
QString written(const QByteArray &bytes, const char *name)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vuva-fuzz-XXXXXX"));
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the scratch file opens");
    fuzzCheck(file.write(bytes) == bytes.size(), "the scratch file takes the input");
    return path;
}

} // namespace

void readBmpLogo(const QByteArray &bytes)
{
    const QString path = written(bytes, "input.bmp");
    const auto header = vgfx::parseBmpHeader(bytes.left(vgfx::BmpHeadBytes), bytes.size());
    vlink::LogoBuffer logo;
    logo.number = 3;
    const vgfx::BmpLoad load = vgfx::convertBmpToLogo(path, logo);
    fuzzCheck(load == vgfx::BmpLoad::NotValid || header.has_value(),
              "a loaded file passed the check");
    fuzzCheck(vgfx::isMonochromeBmp(path) == (header && header->isMonochrome()),
              "the file dialog judges as the header check does");
    if (load != vgfx::BmpLoad::Loaded) {
        fuzzCheck(logo.isEmpty(), "a refused file leaves an empty buffer");
        return;
    }
    fuzzCheck(logo.width >= 1 && logo.width <= vlink::LogoBuffer::Columns, "a logo width fits");
    fuzzCheck(logo.height >= 1 && logo.height <= vlink::LogoBuffer::Bands, "a logo height fits");
    fuzzCheck(logo.width * logo.height <= vlink::LogoBuffer::MaxDotBytes,
              "a converted logo fits the dot bytes of a record");
    fuzzCheck(logo.number == 3, "the conversion keeps the number");
    // The composed logo goes on to be written to a printer: the record's block is whole.
    const QByteArray block = vlink::LogoBlock(logo, vlink::DotEncoding::Reversed);
    fuzzCheck(block.isEmpty() || block.size() == vlink::LogoBlockSize, "a block is whole");
}

void readSettingsFile(const QByteArray &bytes)
{
    const QString path = written(bytes, "station.dev");
    vlink::SettingsFile settings(path);
    const vlink::DeviceMap devices = vlink::deviceMapFrom(settings);
    for (const QString &device : devices)
        vlink::PortStatusTip(device);
    const int port = vlink::rememberedPort(settings);
    fuzzCheck(port >= -1, "a remembered port is a port or none");
    const QString section = QLatin1String(vlink::PortParamsSection);
    settings.value(section, QStringLiteral("CodePage"));
    // Saving keeps every other line: what was there reads back the same after a change.
    const QString device1 = settings.value(section, QStringLiteral("Device1"));
    settings.setValue(section, QStringLiteral("ComInteger"), QStringLiteral("2"));
    fuzzCheck(settings.value(QStringLiteral("portparams"), QStringLiteral("cominteger")) ==
                  QStringLiteral("2"),
              "a value set reads back");
    fuzzCheck(settings.value(section, QStringLiteral("Device1")) == device1,
              "setting one key leaves the others");
}
