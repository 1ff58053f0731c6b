// vuvactl: the station's command library from a shell.

#include "app/vuvactl_commands.h"
#include "app/vuvactl_options.h"
#include "link/com_io.h"
#include "link/discovery.h"
#include "link/settings_file.h"
#include "link/settings_location.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace
{

using vuvactl::Options;
using vuvactl::Outcome;

enum Exit { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

void printHelp(const vuvactl::Commands &commands)
{
    std::printf("%s\nCommands:\n", qPrintable(vuvactl::optionsHelp()));
    for (const vuvactl::Command &c : commands)
        std::printf("%s\n", qPrintable(vuvactl::usageLine(c)));
}

int usage(const QString &problem, const vuvactl::Command *command = nullptr)
{
    std::fprintf(stderr, "vuvactl: %s\n", qPrintable(problem));
    if (command)
        std::fprintf(stderr, "usage: vuvactl [OPTION...] %s %s\n", qPrintable(command->name),
                     qPrintable(command->args));
    else
        std::fputs("Try 'vuvactl --help'.\n", stderr);
    return ExitUsage;
}

int failure(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    return ExitFailed;
}

vlink::SettingsFile stationSettings()
{
    return vlink::SettingsFile(vlink::settingsLocation(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vuvazuvevov.dev"))));
}

// The station's start-up discovery over the ports its settings file maps, the remembered port
// first.
bool discover(vlink::ComIo &port, vlink::Connection &found)
{
    const vlink::SettingsFile settings = stationSettings();
    port.setDeviceMap(vlink::deviceMapFrom(settings));
    const vlink::Discovery result = vlink::StartupDiscovery(port, vlink::rememberedPort(settings));
    found = result.connection;
    return result.connected;
}

// The device given, opened at the speed given or found by the probe; a command that connects
// gets the station's whole ConnectPort on it instead.
bool openGiven(vlink::ComIo &port, const Options &o, bool connects, vlink::Connection &found)
{
    vlink::DeviceMap map = vlink::defaultDeviceMap();
    map[0] = o.port;
    port.setDeviceMap(map);
    if (connects) {
        vlink::PortFlags present{};
        present[0] = true;
        return vlink::ConnectPort(port, 0, present, found);
    }
    port.openCom(0);
    if (!o.speedIndex)
        return vlink::DetectSpeed(port, found.speedText);
    if (!port.setBaud(*o.speedIndex))
        throw vlink::ExCom(QStringLiteral("open_com error\n%1: speed %2 refused")
                               .arg(o.port)
                               .arg(vlink::SpeedTable[*o.speedIndex])
                               .toStdString());
    found.speedText = QString::number(vlink::SpeedTable[*o.speedIndex]);
    return true;
}

// The port at its speed, through the device given or the station's own discovery. Throws ExCom
// when a port cannot be opened; a failure text when nothing answers.
QString connect(vlink::ComIo &port, const Options &o, bool connects, vlink::Connection &found)
{
    const bool ok = o.port.isEmpty() ? discover(port, found) : openGiven(port, o, connects, found);
    return ok ? QString() : QStringLiteral("Device not found");
}

int run(const Options &o)
{
    const vuvactl::Commands commands = vuvactl::allCommands();
    if (o.help) {
        printHelp(commands);
        return ExitOk;
    }
    if (o.command.isEmpty())
        return usage(QStringLiteral("no command given"));
    const vuvactl::Command *command = vuvactl::findCommand(commands, o.command);
    if (!command)
        return usage(QStringLiteral("unknown command %1").arg(o.command));
    QString problem;
    const vuvactl::Action action = command->bind(o.args, problem);
    if (!action || !(problem = command->problemUnder(o.depot, o.args)).isEmpty())
        return usage(QStringLiteral("%1: %2").arg(o.command, problem), command);
    if (command->connects && !command->isOffline(o.args) && o.speedIndex)
        return usage(QStringLiteral("%1 detects the speed itself: no --speed").arg(o.command),
                     command);

    vlink::ComIo port;
    vlink::Connection found;
    try {
        const QString notFound =
            command->isOffline(o.args) ? QString() : connect(port, o, command->connects, found);
        if (!notFound.isEmpty())
            return failure(notFound);
    } catch (const vlink::ExCom &e) {
        return failure(QString::fromStdString(e.what()));
    }
    QTextStream out(stdout);
    vuvactl::Context ctx{port, o.depot, out, found};
    const Outcome outcome = action(ctx);
    out.flush();
    if (outcome.kind == Outcome::Kind::Usage)
        return usage(QStringLiteral("%1: %2").arg(o.command, outcome.text), command);
    return outcome.kind == Outcome::Kind::Ok ? ExitOk : failure(outcome.text);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    const QString problem = vuvactl::parseOptions(app.arguments(), options);
    if (!problem.isEmpty())
        return usage(problem);
    return run(options);
}
