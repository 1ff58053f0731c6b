#include "shell/main_panel.h"

#include "shell/device_box.h"
#include "shell/pictures.h"
#include "ui/named_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace vshell
{

MainPanel::MainPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Panel1"));
    setMinimumSize(560, 300);
}

void MainPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(rect(), backgroundPicture(size()));
}

namespace
{

QComboBox *deviceBox(QWidget *parent)
{
    auto *box = vui::named<QComboBox>(parent, "CBDevice");
    for (const char *text : DeviceBoxTexts)
        box->addItem(QString::fromLatin1(text));
    // Read-only: it shows what discovery found and takes no input.
    box->setFocusPolicy(Qt::NoFocus);
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setMinimumWidth(150);
    box->setStatusTip(QStringLiteral("Device found on the port"));
    return box;
}

QLabel *statusLabel(QWidget *parent)
{
    auto *label = vui::named<QLabel>(parent, "LMX", QStringLiteral("LMX"));
    label->setStyleSheet(
        QStringLiteral("QLabel { color: white; background: rgba(0, 0, 0, 110); padding: 4px 10px;"
                       " border-radius: 4px; font-weight: bold; }"));
    return label;
}

} // namespace

void buildPanel(QMainWindow &window, MainControls &c)
{
    auto *panel = new MainPanel(&window);
    c.LMX = statusLabel(panel);
    c.CBDevice = deviceBox(panel);
    c.CBDepotNow = vui::named<QCheckBox>(panel, "CBDepotNow", QStringLiteral("Depot Only"));
    c.CBDepotNow->setVisible(false);

    auto *row = new QHBoxLayout;
    row->addWidget(c.LMX);
    row->addStretch(1);
    row->addWidget(c.CBDepotNow);
    row->addWidget(c.CBDevice);
    auto *layout = new QVBoxLayout(panel);
    layout->addLayout(row);
    layout->addStretch(1);
    window.setCentralWidget(panel);

    window.statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    window.statusBar()->setSizeGripEnabled(false);
}

} // namespace vshell
