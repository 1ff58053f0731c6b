#include "app/vuvactl_commands.h"
#include "graphics/model/logo_bmp.h"
#include "graphics/model/logo_copy.h"
#include "graphics/model/logo_file_names.h"
#include "link/exchange.h"
#include "link/printable.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

namespace vuvactl
{

namespace
{

using vgfx::LogoStore;
using vlink::LogoBuffer;

const QString NamesFile = QStringLiteral("names.txt");

std::optional<LogoStore> storeOf(const QString &word)
{
    if (word == QLatin1String("printer"))
        return LogoStore::Printer;
    if (word == QLatin1String("depot"))
        return LogoStore::Depot;
    return std::nullopt;
}

Action logoCopy(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 4);
    if (!problem.isEmpty())
        return {};
    const std::optional<LogoStore> from = storeOf(args[0]);
    const std::optional<LogoStore> to = storeOf(args[1]);
    if (!from || !to) {
        problem = QStringLiteral("FROM and TO are printer or depot");
        return {};
    }
    const auto n = wholeNumber(args[2], 0, vgfx::maxLogoNumber(*from));
    const auto first = wholeNumber(args[3], 0, vgfx::maxLogoNumber(*to));
    if (!n || !first) {
        problem = QStringLiteral("N and FIRST must be whole numbers 0..255 (0..249 in the Depot)");
        return {};
    }
    return [from = *from, to = *to, n = *n, first = *first](Context &ctx) {
        LogoBuffer logo;
        switch (vgfx::copyLogo(ctx.port, from, n, to, first, logo)) {
        case vgfx::CopyStep::ReadFailed:
            return failed(vgfx::copyReadFailure(from));
        case vgfx::CopyStep::WriteFailed:
            return failed(vgfx::copyWriteFailure(to));
        case vgfx::CopyStep::Copied:
            break;
        }
        return succeeded();
    };
}

Outcome readNames(Context &ctx, vlink::LogoNames &names)
{
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (vgfx::readLogoNames(ctx.port, storeOf(ctx), names, &result))
        return succeeded();
    return failed(vlink::namesFailureText(result));
}

// A folder that holds a saved store already is not written over.
Outcome saveFolder(const QString &folder)
{
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return failed(QStringLiteral("%1: cannot make the folder").arg(folder));
    if (dir.exists(NamesFile))
        return failed(QStringLiteral("%1: holds a saved store already").arg(folder));
    return succeeded();
}

Outcome writeNames(const QString &folder, const QStringList &lines)
{
    QSaveFile file(QDir(folder).filePath(NamesFile));
    if (!file.open(QIODevice::WriteOnly))
        return failed(QStringLiteral("%1: cannot write the file").arg(file.fileName()));
    for (const QString &line : lines)
        file.write((line + u'\n').toUtf8());
    return file.commit() ? succeeded()
                         : failed(QStringLiteral("%1: cannot write the file").arg(file.fileName()));
}

// Saves one listed logo as DIR/NUMBER_NAME.bmp; a logo without a dot gives no bitmap.
Outcome saveOne(Context &ctx, const QString &folder, const vlink::LogoName &entry)
{
    const QString name = stationCodePage().decode(entry.name);
    LogoBuffer logo;
    if (!vgfx::readStoredLogo(ctx.port, storeOf(ctx), entry.number, logo))
        return failed(QStringLiteral("logo %1: %2")
                          .arg(entry.number)
                          .arg(vgfx::copyReadFailure(storeOf(ctx))));
    const QString base = vgfx::logoFileBase(name, entry.number);
    const QString file =
        QDir(folder).filePath(QStringLiteral("%1_%2.bmp").arg(entry.number).arg(base));
    const bool saved = vgfx::saveLogoBmp(logo, file);
    ctx.out << entry.number << ' ' << deviceText(entry.name) << (saved ? "" : ": no dots, no file")
            << '\n';
    return succeeded();
}

Action storeSave(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 1);
    if (!problem.isEmpty())
        return {};
    return [folder = args[0]](Context &ctx) {
        Outcome outcome = saveFolder(folder);
        vlink::LogoNames names;
        if (outcome.kind == Outcome::Kind::Ok)
            outcome = readNames(ctx, names);
        QStringList lines;
        for (const vlink::LogoName &entry : names) {
            if (outcome.kind != Outcome::Kind::Ok)
                return outcome;
            outcome = saveOne(ctx, folder, entry);
            lines << QStringLiteral("%1 %2")
                         .arg(entry.number)
                         .arg(stationCodePage().decode(entry.name));
        }
        if (outcome.kind == Outcome::Kind::Ok)
            outcome = writeNames(folder, lines);
        if (outcome.kind == Outcome::Kind::Ok)
            ctx.out << lines.size() << " logos saved\n";
        return outcome;
    };
}

// "NUMBER NAME" lines; a line without a name gives an empty one.
QMap<int, QString> readNamesFile(const QString &folder)
{
    QMap<int, QString> names;
    QFile file(QDir(folder).filePath(NamesFile));
    if (!file.open(QIODevice::ReadOnly))
        return names;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        bool ok = false;
        const int number = line.section(u' ', 0, 0).toInt(&ok);
        if (ok)
            names[number] = line.section(u' ', 1);
    }
    return names;
}

struct SavedLogo {
    int number;
    QString file;
};

QList<SavedLogo> savedLogos(const QString &folder, int last)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3})_.*\\.bmp$"));
    QList<SavedLogo> logos;
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.bmp")}, QDir::Files);
    for (const QString &file : files) {
        const QRegularExpressionMatch match = pattern.match(file);
        if (match.hasMatch() && match.captured(1).toInt() <= last)
            logos.append({match.captured(1).toInt(), QDir(folder).filePath(file)});
    }
    std::sort(logos.begin(), logos.end(),
              [](const SavedLogo &a, const SavedLogo &b) { return a.number < b.number; });
    return logos;
}

// The bitmap's whole size, blank margins included, as the logo had it when it was saved.
void keepSavedExtent(const QString &file, LogoBuffer &logo)
{
    const QSize size = QImageReader(file).size();
    logo.width = std::clamp(size.width(), logo.width, vgfx::MaxWrittenWidth);
    logo.height = std::clamp((size.height() + 7) / 8, logo.height, LogoBuffer::Bands);
}

Outcome loadOne(Context &ctx, const SavedLogo &saved, const QString &name)
{
    LogoBuffer logo;
    const vgfx::BmpLoad loaded = vgfx::convertBmpToLogo(saved.file, logo);
    if (loaded != vgfx::BmpLoad::Loaded)
        return failed(vgfx::bmpLoadText(loaded));
    keepSavedExtent(saved.file, logo);
    if (logo.width * logo.height > LogoBuffer::MaxDotBytes)
        return failed(vgfx::bmpLoadText(vgfx::BmpLoad::NotValid));
    if (!ctx.depot)
        vlink::Delay(vgfx::PrinterPauseMs);
    const bool ok = vgfx::writeComposedLogo(ctx.port, storeOf(ctx), saved.number, logo,
                                            stationCodePage().encode(name));
    return ok ? succeeded() : failed(vlink::logoCommand(vlink::LogoCall::Write, storeOf(ctx)));
}

Action storeLoad(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 1);
    if (!problem.isEmpty())
        return {};
    return [folder = args[0]](Context &ctx) {
        const QMap<int, QString> names = readNamesFile(folder);
        const QList<SavedLogo> logos = savedLogos(folder, vgfx::maxLogoNumber(storeOf(ctx)));
        for (const SavedLogo &saved : logos) {
            const QString name = names.value(
                saved.number, QFileInfo(saved.file).completeBaseName().section(u'_', 1));
            const Outcome outcome = loadOne(ctx, saved, name);
            if (outcome.kind != Outcome::Kind::Ok)
                return failed(QStringLiteral("%1: %2").arg(saved.file, outcome.text));
            ctx.out << saved.number << ' ' << vlink::EscapeControls(name) << '\n';
        }
        ctx.out << logos.size() << " logos written\n";
        return succeeded();
    };
}

} // namespace

Commands storeCommands()
{
    return {
        {"logo-copy", "FROM TO N FIRST",
         "copies logo N of FROM (printer|depot) to number FIRST of TO, name kept", logoCopy},
        {"store-save", "DIR",
         "every listed logo (--depot: the Depot's bank) to DIR/NUMBER_NAME.bmp and DIR/names.txt",
         storeSave},
        {"store-load", "DIR",
         "every DIR/NUMBER_NAME.bmp back under its number, names from names.txt", storeLoad},
    };
}

} // namespace vuvactl
