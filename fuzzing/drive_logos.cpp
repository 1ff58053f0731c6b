#include "fuzzing/targets.h"

#include "graphics/model/logo_bmp.h"
#include "link/depot_commands.h"
#include "link/logo_commands.h"

#include <QDir>
#include <QTemporaryDir>

using namespace vlink;

namespace
{

// A read logo goes on to be shown and saved: the saver must stay within the buffer whatever
// the header announced.
void save(const LogoBuffer &logo)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vuva-fuzz-XXXXXX"));
    vgfx::saveLogoBmp(logo, dir.filePath(QStringLiteral("logo.bmp")));
}

void checkRead(const LogoBuffer &logo, bool ok)
{
    fuzzCheck(logo.order == DotOrder::Device, "a read leaves the buffer in device order");
    fuzzCheck(logo.name.size() <= LogoBuffer::NameLength, "a read name has at most 8 characters");
    if (ok)
        save(logo);
}

} // namespace

void driveLogoRecords(Port &port, quint8 variant)
{
    LogoBuffer logo;
    constexpr int number = 7;
    switch (variant) {
    case 0:
        checkRead(logo, PrinterLogoRead(port, number, logo).ok);
        break;
    case 1:
        checkRead(logo, PrinterLogoView(port, number, logo));
        break;
    case 2:
        checkRead(logo, DPLogoRead(port, number, logo).ok);
        break;
    case 3:
        checkRead(logo, DPLogoView(port, number, logo));
        break;
    default:
        // The rename writes back what the read brought in: a write must refuse what no record
        // can carry rather than send it.
        PrinterLogoRename(port, number, QByteArrayLiteral("RENAMED"), logo);
        checkRead(logo, false);
        break;
    }
}

void driveLogoNames(Port &port, quint8 variant)
{
    const LogoNames before = {{1, QByteArrayLiteral("BEFORE")}};
    LogoNames names = before;
    NamesRead result = NamesRead::Ok;
    const bool ok = variant == 0 ? PrinterLogoNamesRead(port, names, &result)
                                 : DPLogoNamesRead(port, names, &result);
    fuzzCheck(ok == (result == NamesRead::Ok), "a names read says how it ended");
    fuzzCheck(ok || names == before, "a refused names list leaves the names as they were");
    fuzzCheck(names.size() <= MaxNamesCount, "a names list holds at most 256 logos");
    for (const LogoName &n : names) {
        fuzzCheck(n.number >= 0 && n.number <= 0xFFFF, "a logo number has two bytes");
        fuzzCheck(n.name.size() <= LogoBuffer::NameLength,
                  "a listed name has at most 8 characters");
    }
    fuzzCheck(ok || !namesFailureText(result).isEmpty(), "a refused list has a failure text");
}

void driveDepotVersion(Port &port, quint8)
{
    QByteArray text = QByteArrayLiteral("old");
    const bool ok = DPVersionRead(port, text);
    fuzzCheck(text.size() <= DepotVersionMax, "a version text is bounded");
    fuzzCheck(!ok || !text.contains('\0'), "a version text ends at its terminator");
}
