#include "support/station_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenu>

StationFixture::StationFixture()
{
    for (int i = 0; i < vlink::PortCount; ++i)
        deviceFiles[std::size_t(i)] = QStringLiteral("/dev/vuva-test%1").arg(i);
}

StationFixture::~StationFixture()
{
    window_.reset();
    port.reset(); // it checks the devices' protocol errors, so before they go
}

vp::Device &StationFixture::addDevice(int port, vp::Kind kind, int speed)
{
    devices_[std::size_t(port)] = std::make_unique<vp::Device>(kind, speed);
    return *devices_[std::size_t(port)];
}

void StationFixture::writeSettings(const QString &text)
{
    QFile file(settingsPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Text))
        file.write(text.toUtf8());
}

QString StationFixture::readSettings() const
{
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll())
                                                            : QString();
}

vshell::TAutoControl &StationFixture::start()
{
    std::array<vp::Device *, vlink::PortCount> byPort{};
    for (int i = 0; i < vlink::PortCount; ++i)
        byPort[std::size_t(i)] = devices_[std::size_t(i)].get();
    port = std::make_unique<MemoryPort>(byPort);
    vshell::StationEnvironment env{*port, prompts, modal, settingsPath()};
    env.lockPath = lockPath();
    env.workDir = workDir();
    env.devices = deviceFiles;
    // The application would end here: whatever modal dialog still runs is left, as quitting does.
    env.endApplication = [this] {
        ++endCalls;
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    };
    window_ = std::make_unique<vshell::TAutoControl>(env);
    window_->createStartWindows();
    return *window_;
}

vshell::TAutoControl &StationFixture::startConnected()
{
    start();
    window_->FormActivate();
    prompts.clear();
    port->clearWritten();
    for (auto &d : devices_)
        if (d)
            d->clearReceived();
    return *window_;
}

QAction *StationFixture::action(const char *name) const
{
    return window_->findChild<QAction *>(QString::fromLatin1(name));
}

QMenu *StationFixture::menu(const char *name) const
{
    return window_->findChild<QMenu *>(QString::fromLatin1(name));
}

void StationFixture::open(const char *menuName) const
{
    emit menu(menuName)->aboutToShow();
    // The boxes of a menu opening come once the menu is up.
    QCoreApplication::processEvents();
}

QString StationFixture::lmx() const
{
    return window_->findChild<QLabel *>(QStringLiteral("LMX"))->text();
}
