#include "app/vuvactl_commands.h"
#include "graphics/model/logo_bmp.h"
#include "graphics/model/logo_dots.h"
#include "graphics/model/logo_name.h"
#include "graphics/model/logo_store.h"
#include "link/codepage.h"
#include "link/depot_commands.h"
#include "link/discovery.h"
#include "link/logo_commands.h"
#include "link/logo_record.h"
#include "link/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <limits>
#include <optional>

namespace vuvactl
{

namespace
{

using vlink::LogoBuffer;
using vlink::LogoCall;
using vlink::PrinterCommand;

constexpr int PrinterLogoMax = 255;
constexpr int DepotLogoMax = vlink::DepotLogos - 1;

// N is checked against the store the command addresses, which --depot decides; one beyond it is
// refused with the logo dialogs' text.
std::optional<int> logoNumber(const QString &text, QString &problem)
{
    const auto n = wholeNumber(text, 0, std::numeric_limits<int>::max());
    if (!n)
        problem = QStringLiteral("N must be a whole number 0..255 (0..249 in the Depot)");
    else if (*n > PrinterLogoMax)
        problem = vgfx::maxFragmentText(vlink::Store::Printer);
    return n && *n <= PrinterLogoMax ? n : std::nullopt;
}

// Under --depot, before the line is taken: a number the Depot lacks.
QString depotNumberProblem(const QStringList &args)
{
    return wholeNumber(args.value(0), DepotLogoMax + 1, PrinterLogoMax)
               ? vgfx::maxFragmentText(vlink::Store::Depot)
               : QString();
}

Command depotNumbered(Command command)
{
    command.depotProblem = depotNumberProblem;
    return command;
}

Command printerOnly(Command command)
{
    command.depotProblem = [](const QStringList &) {
        return QStringLiteral("renames printer logos only");
    };
    return command;
}

// The deleted logo as a read brings it back: one blank column of four bands and no name.
bool readsAsDeleted(const LogoBuffer &logo)
{
    if (logo.height != 4 || logo.width != 1 || !logo.name.isEmpty())
        return false;
    for (int b = 0; b < LogoBuffer::Bands; ++b)
        if (logo.at(0, b) != 0)
            return false;
    return true;
}

// No dot within the logo's extent, or an extent a logo cannot have (the device's empty record).
bool readsAsEmpty(const LogoBuffer &logo)
{
    if (logo.height < 1 || logo.height > LogoBuffer::Bands || logo.width < 1)
        return true;
    for (int c = 0; c < vgfx::drawnWidth(logo); ++c)
        for (int dot = 0; dot < logo.height * 8; ++dot)
            if (vgfx::hasDot(logo, c, dot))
                return false;
    return true;
}

Outcome saveRead(const LogoBuffer &logo, const QString &file)
{
    if (readsAsEmpty(logo) || readsAsDeleted(logo))
        return succeeded();
    if (!vgfx::saveLogoBmp(logo, file))
        return failed(QStringLiteral("%1: cannot write the file").arg(file));
    return succeeded();
}

Action discover(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 0);
    if (!problem.isEmpty())
        return {};
    return [](Context &ctx) {
        // The line was taken as the station connects; this only tells what that found.
        const vlink::Connection &found = ctx.connection;
        ctx.out << "port=" << ctx.port.deviceName() << " speed=" << found.speedText
                << " kind=" << int(found.kind) << '\n';
        return succeeded();
    };
}

Action logoWrite(const QStringList &args, QString &problem)
{
    if (args.size() < 2 || args.size() > 3) {
        problem = argCountProblem(args, args.size() < 2 ? 2 : 3);
        return {};
    }
    const auto n = logoNumber(args[0], problem);
    if (!n)
        return {};
    const QString file = args[1];
    const std::optional<QString> name =
        args.size() == 3 ? std::optional(vgfx::filterLogoName(args[2]).text) : std::nullopt;
    return [n = *n, file, name](Context &ctx) {
        LogoBuffer logo;
        const vgfx::BmpLoad loaded = vgfx::convertBmpToLogo(file, logo);
        if (loaded != vgfx::BmpLoad::Loaded)
            return failed(vgfx::bmpLoadText(loaded));
        // W travels as one byte.
        logo.width = std::min(logo.width, int(vlink::MaxWireWidth));
        logo.number = n;
        if (name)
            logo.name = stationCodePage().encode(*name);
        return check(vlink::LogoWrite(ctx.port, storeOf(ctx), n, logo),
                     vlink::logoCommand(LogoCall::Write, storeOf(ctx)));
    };
}

Action logoRead(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 2);
    const auto n = problem.isEmpty() ? logoNumber(args[0], problem) : std::nullopt;
    if (!n)
        return {};
    return [n = *n, file = args[1]](Context &ctx) {
        LogoBuffer logo;
        if (!vlink::LogoRead(ctx.port, storeOf(ctx), n, logo))
            return failed(vlink::logoCommand(LogoCall::Read, storeOf(ctx)));
        ctx.out << deviceText(logo.name) << '\n';
        return saveRead(logo, file);
    };
}

Action logoView(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 2);
    const auto n = problem.isEmpty() ? logoNumber(args[0], problem) : std::nullopt;
    if (!n)
        return {};
    return [n = *n, file = args[1]](Context &ctx) {
        LogoBuffer logo;
        if (!vlink::LogoView(ctx.port, storeOf(ctx), n, logo))
            return failed(vlink::logoCommand(LogoCall::View, storeOf(ctx)));
        return saveRead(logo, file);
    };
}

Action logoRename(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 2);
    const auto n = problem.isEmpty() ? logoNumber(args[0], problem) : std::nullopt;
    if (!n)
        return {};
    const QString name = vgfx::filterLogoName(args[1]).text;
    return [n = *n, name](Context &ctx) {
        LogoBuffer logo;
        const QByteArray bytes = stationCodePage().encode(name);
        return check(vlink::PrinterLogoRename(ctx.port, n, bytes, logo).ok,
                     PrinterCommand::PrinterLogoRename);
    };
}

Action logoDelete(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 1);
    const auto n = problem.isEmpty() ? logoNumber(args[0], problem) : std::nullopt;
    if (!n)
        return {};
    return [n = *n](Context &ctx) {
        return check(vlink::LogoDelete(ctx.port, storeOf(ctx), n),
                     vlink::logoCommand(LogoCall::Delete, storeOf(ctx)));
    };
}

Action logoNames(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 0);
    if (!problem.isEmpty())
        return {};
    return [](Context &ctx) {
        vlink::LogoNames names;
        vlink::NamesRead result = vlink::NamesRead::Ok;
        if (!vlink::LogoNamesRead(ctx.port, storeOf(ctx), names, &result))
            return failed(vlink::namesFailureText(result));
        for (const vlink::LogoName &entry : names)
            ctx.out << entry.number << ' ' << deviceText(entry.name) << '\n';
        return succeeded();
    };
}

// A Depot setting of one number.
Command settingCommand(const QString &name, const QString &help, int high,
                       bool (*command)(vlink::Port &, int), PrinterCommand entry)
{
    return {name, QStringLiteral("N"), help, [=](const QStringList &args, QString &problem) {
                problem = argCountProblem(args, 1);
                const auto n = problem.isEmpty() ? wholeNumber(args[0], 0, high) : std::nullopt;
                if (!n) {
                    if (problem.isEmpty())
                        problem = QStringLiteral("N must be a whole number 0..%1").arg(high);
                    return Action();
                }
                return Action(
                    [=, n = *n](Context &ctx) { return check(command(ctx.port, n), entry); });
            }};
}

Action depotVersion(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 0);
    if (!problem.isEmpty())
        return {};
    return [](Context &ctx) {
        QByteArray text;
        if (!vlink::DPVersionRead(ctx.port, text))
            return failed(PrinterCommand::DPVersionRead);
        ctx.out << deviceText(text) << '\n';
        return succeeded();
    };
}

} // namespace

Commands logoCommands()
{
    return {
        {"discover",
         {},
         "connects as the station does, prints \"port=DEVICE speed=BPS kind=K\"",
         discover,
         true},
        depotNumbered(
            {"logo-write", "N FILE.bmp [NAME]",
             "converts the BMP and writes it (--depot: to the Depot); width capped at 255",
             logoWrite}),
        depotNumbered({"logo-read", "N FILE.bmp",
                       "prints the name, writes FILE.bmp unless the logo is empty or deleted",
                       logoRead}),
        depotNumbered(
            {"logo-view", "N FILE.bmp", "views the logo's dots and writes FILE.bmp", logoView}),
        printerOnly({"logo-rename", "N NAME", "renames a printer logo", logoRename}),
        depotNumbered(
            {"logo-delete", "N", "writes the deleted logo (--depot: in the Depot)", logoDelete}),
        {"logo-names",
         {},
         "prints \"NUMBER NAME\" per logo (--depot: the Depot's bank)",
         logoNames},
        settingCommand("bank", "selects the Depot bank", vlink::DepotBanks - 1, vlink::BankNumSet,
                       PrinterCommand::BankNumSet),
        settingCommand("max-bank", "sets the Depot's highest bank number", 255,
                       vlink::MaxBankNumSet, PrinterCommand::MaxBankNumSet),
        {"depot-version", {}, "prints the Depot's version text", depotVersion},
    };
}

} // namespace vuvactl
