#include "shell/main_menus.h"

#include "link/com_io.h"
#include "shell/hydro_menu.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <string>

namespace vshell
{

namespace
{

QMenu *named(QMenu *menu, const char *name)
{
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Item"));
    return menu;
}

QMenu *topMenu(QMainWindow &window, const char *name, const QString &title)
{
    return named(window.menuBar()->addMenu(title), name);
}

QMenu *subMenu(QMenu *parent, const char *name, const QString &title)
{
    return named(parent->addMenu(title), name);
}

QAction *item(QMenu *menu, const char *name, const QString &caption,
              const QKeySequence &shortcut = {})
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(shortcut);
    return a;
}

QAction *hidden(QAction *a)
{
    a->setVisible(false);
    return a;
}

QAction *disabled(QAction *a)
{
    a->setEnabled(false);
    return a;
}

QKeySequence ctrl(Qt::Key key)
{
    return QKeySequence(Qt::CTRL | key);
}

QKeySequence ctrlAlt(Qt::Key key)
{
    return QKeySequence(Qt::CTRL | Qt::ALT | key);
}

void buildFile(QMainWindow &window, MainControls &c, const vlink::DeviceMap &devices)
{
    c.File1 = topMenu(window, "File1", QStringLiteral("File"));
    c.Selectport1 = subMenu(c.File1, "Selectport1", QStringLiteral("Select  Port"));
    // With no port present the menu has no item. An X11 window cannot be 0 x 0: a popup that
    // size is never mapped, and once a box has closed it Qt never maps that menu again.
    c.Selectport1->setMinimumSize(1, 1);
    for (int i = 0; i < 6; ++i) {
        c.Com[i] =
            item(c.Selectport1, (QStringLiteral("Com%1").arg(i + 1) + u'1').toLatin1().constData(),
                 QStringLiteral("Com%1").arg(i + 1));
        c.Com[i]->setStatusTip(vlink::PortStatusTip(devices[std::size_t(i)]));
    }
    // A refused port is absent and so not listed: the menu itself says why it is missing.
    QStringList refused;
    for (int i = 0; i < 6; ++i)
        if (!vlink::DevicePathRefusal(devices[std::size_t(i)]).isEmpty())
            refused << QStringLiteral("Com%1: %2").arg(i + 1).arg(c.Com[i]->statusTip());
    c.Selectport1->menuAction()->setStatusTip(refused.join(QStringLiteral("; ")));
    c.Printer1 = subMenu(c.File1, "Printer1", QStringLiteral("Printer"));
    for (int k = 1; k <= 6; ++k)
        c.Printers[k - 1] =
            item(c.Printer1, (QStringLiteral("Printer%1").arg(k) + u'1').toLatin1().constData(),
                 QStringLiteral("Printer %1").arg(k));
    c.LoadDateTimeM = hidden(item(c.File1, "LoadDateTimeM", QStringLiteral("LoadDateTime")));
    c.Start = item(c.File1, "Start", QStringLiteral("Start"), QKeySequence(Qt::Key_F12));
    c.Halt1 = hidden(item(c.File1, "Halt1", QStringLiteral("Stop"), QKeySequence(Qt::Key_F11)));
    c.File1->addSeparator();
    c.SaveJobAs1 = item(c.File1, "SaveJobAs1", QStringLiteral("Save Job As..."));
    c.OpenJob1 = item(c.File1, "OpenJob1", QStringLiteral("Open Job..."));
    c.RecentJobs1 = subMenu(c.File1, "RecentJobs1", QStringLiteral("Recent Jobs"));
    c.File1->addSeparator();
    c.FileExitItem = item(c.File1, "FileExitItem", QStringLiteral("Exit"));
}

void buildFKey(QMainWindow &window, MainControls &c)
{
    c.FKey1 = topMenu(window, "FKey1", QStringLiteral("FKey"));
    c.FKey1->menuAction()->setVisible(false);
    subMenu(c.FKey1, "FKeyLoad", QStringLiteral("Load"))->menuAction()->setVisible(false);
    subMenu(c.FKey1, "FKeyRead", QStringLiteral("Read"))->menuAction()->setVisible(false);
    c.FKeyFragEdit = item(c.FKey1, "FKeyFragEdit", QStringLiteral("FragEdit"), Qt::Key_F1);
    c.FKeyCounter = item(c.FKey1, "FKeyCounter", QStringLiteral("Counter"), Qt::Key_F2);
    c.FKeyTimeDate = item(c.FKey1, "FKeyTimeDate", QStringLiteral("TimeDate"), Qt::Key_F3);
    c.FKeyMarkRead = item(c.FKey1, "FKeyMarkRead", QStringLiteral("MarkRead"));
    c.FKeyPostDate = item(c.FKey1, "FKeyPostDate", QStringLiteral("Post Date"), Qt::Key_F6);
}

void buildTools(QMainWindow &window, MainControls &c)
{
    c.Tools1 = topMenu(window, "Tools1", QStringLiteral("Tools"));
    c.FragEdit1 = item(c.Tools1, "FragEdit1", QStringLiteral("FragEdit"), Qt::Key_F1);
    c.Counter2 = item(c.Tools1, "Counter2", QStringLiteral("Counter"), Qt::Key_F2);
    c.ime1 = item(c.Tools1, "ime1", QStringLiteral("TimeDate"), Qt::Key_F3);
    c.PDate2 = item(c.Tools1, "PDate2", QStringLiteral("PostDate"), Qt::Key_F4);
    c.LogoToMarkAction1 =
        item(c.Tools1, "LogoToMarkAction1", QStringLiteral("PrinterLogoPaste"), Qt::Key_F5);
    c.DepotLogoPaste1 = hidden(item(c.Tools1, "DepotLogoPaste1", QStringLiteral("DepotLogoPaste")));
    c.SpecFunc1 = subMenu(c.Tools1, "SpecFunc1", QStringLiteral("SpecFunc"));
    c.ScriptRead1 = item(c.SpecFunc1, "ScriptRead1", QStringLiteral("Read"), Qt::Key_F8);
    c.Write1 = item(c.SpecFunc1, "Write1", QStringLiteral("Write"), Qt::Key_F9);
}

void buildGraphics(QMainWindow &window, MainControls &c)
{
    c.Graphics1 = topMenu(window, "Graphics1", QStringLiteral("Graphics"));
    c.Load1 = item(c.Graphics1, "Load1", QStringLiteral("LogoLoad"), ctrl(Qt::Key_L));
    c.Read2 = item(c.Graphics1, "Read2", QStringLiteral("LogoRead"), ctrl(Qt::Key_R));
    c.LogosView1 = item(c.Graphics1, "LogosView1", QStringLiteral("LogosView"), ctrl(Qt::Key_X));
    c.MarkRead1 = item(c.Graphics1, "MarkRead1", QStringLiteral("MarkRead"), ctrl(Qt::Key_Y));
    c.ReadMSWordtextviaClipBoard1 =
        item(c.Graphics1, "ReadMSWordtextviaClipBoard1",
             QStringLiteral("Read MS Word text via ClipBoard"), ctrl(Qt::Key_Z));
    c.DepotLogoLoad1 = disabled(
        item(c.Graphics1, "DepotLogoLoad1", QStringLiteral("DepotLogoLoad"), ctrlAlt(Qt::Key_W)));
    c.DepotLogoRead1 = disabled(
        item(c.Graphics1, "DepotLogoRead1", QStringLiteral("DepotLogoRead"), ctrlAlt(Qt::Key_R)));
    c.DepotLogosView1 = disabled(
        item(c.Graphics1, "DepotLogosView1", QStringLiteral("DepotLogosView"), ctrlAlt(Qt::Key_V)));
}

OnOffMenu onOff(QMenu *parent, const char *name, const QString &title, bool withOff = true)
{
    OnOffMenu m;
    m.menu = subMenu(parent, name, title);
    const QString base = QString::fromLatin1(name);
    m.on = item(m.menu, (base + QStringLiteral("On")).toLatin1().constData(), QStringLiteral("On"));
    if (withOff)
        m.off = item(m.menu, (base + QStringLiteral("Off")).toLatin1().constData(),
                     QStringLiteral("Off"));
    return m;
}

void buildMark(QMainWindow &window, MainControls &c)
{
    c.Mark1 = topMenu(window, "Mark1", QStringLiteral("Mark"));
    c.MarkWriteToStorage_ =
        item(c.Mark1, "MarkWriteToStorage_", QStringLiteral("Store"), ctrl(Qt::Key_A));
    c.MarkReadFromStorage_ =
        item(c.Mark1, "MarkReadFromStorage_", QStringLiteral("Restore"), ctrl(Qt::Key_B));
    c.MarkDelete1 = item(c.Mark1, "MarkDelete1", QStringLiteral("Delete"), ctrl(Qt::Key_C));
    c.Config1 = subMenu(c.Mark1, "Config1", QStringLiteral("Config"));
    c.MirrorHorizontally1 =
        onOff(c.Config1, "MirrorHorizontally1", QStringLiteral("MirrorHorizontally"));
    c.MirrorVertically1 = onOff(c.Config1, "MirrorVertically1", QStringLiteral("MirrorVertically"));
    c.BreakPointCorrection1 =
        onOff(c.Config1, "BreakPointCorrection1", QStringLiteral("BreakPointCorrection"));
    c.MarkPrintDirection =
        onOff(c.Mark1, "MarkPrintDirection1", QStringLiteral("__MarkPrint Direction"));
    c.MarkBreakPointCorrection =
        onOff(c.Mark1, "MarkBreakPointCorrection1", QStringLiteral("__MarkBreakPointCorrection"));
    c.MarkRotation = onOff(c.Mark1, "MarkRotation1", QStringLiteral("__MarkRotation"), false);
    for (const OnOffMenu *m : {&c.MarkPrintDirection, &c.MarkBreakPointCorrection, &c.MarkRotation})
        m->menu->menuAction()->setVisible(false);
    c.MarkReadHidden = hidden(item(c.Mark1, "MarkRead2", QStringLiteral("__MarkRead")));
    c.Font1 = item(c.Mark1, "Font1", QStringLiteral("Font"), ctrl(Qt::Key_F));
}

void buildCommands(QMainWindow &window, MainControls &c)
{
    c.Commands1 = topMenu(window, "Commands1", QStringLiteral("Commands"));
    c.AutoRunStop1 = item(c.Commands1, "AutoRunStop1", QStringLiteral("AutoRun Stop"));
    c.RunningNumberReset =
        item(c.Commands1, "RunningNumberReset", QStringLiteral("RunningNumbers Reset"));
    c.PrintStart = hidden(item(c.Commands1, "PrintStart", QStringLiteral("Print Start")));
    c.HighVoltageTurn = item(c.Commands1, "HighVoltageTurn", QStringLiteral("HighVoltage Turn"));
    c.Reset = hidden(item(c.Commands1, "Reset", QStringLiteral("Reset")));
    c.RunningNumberDirection1 =
        subMenu(c.Commands1, "RunningNumberDirection1", QStringLiteral("RunningNumber Direction"));
    c.RunningNumberDirection1->menuAction()->setVisible(false);
    c.Forward1 = item(c.RunningNumberDirection1, "Forward1", QStringLiteral("Forward"));
    c.Back = item(c.RunningNumberDirection1, "Back", QStringLiteral("Back"));
    c.AutoRunPeriod = item(c.Commands1, "AutoRunPeriod", QStringLiteral("AutoRun Period"));
}

void buildParams(QMainWindow &window, MainControls &c)
{
    c.Params1 = topMenu(window, "Params1", QStringLiteral("Params"));
    c.ParamsValue1 = item(c.Params1, "ParamsValue1", QStringLiteral("ParamsValue"));
    c.ByteStatus1 = hidden(item(c.Params1, "ByteStatus1", QStringLiteral("ByteStatus")));
    c.DepotBankMaxNum1 =
        hidden(disabled(item(c.Params1, "DepotBankMaxNum1", QStringLiteral("DepotBankMaxNum"))));
    c.DepotVersia1 = disabled(item(c.Params1, "DepotVersia1", QStringLiteral("DepotVersia")));
}

void buildHydroSystem(QMainWindow &window, MainControls &c)
{
    c.HydroSystem1 = topMenu(window, "HydroSystem1", QStringLiteral("HydroSystem"));
    c.HydroSystem1->menuAction()->setVisible(false);
    c.HydroSystem1->menuAction()->setEnabled(false);
    item(c.HydroSystem1, "Pouwer1", QStringLiteral("Power"));
    item(c.HydroSystem1, "Parameters1", QStringLiteral("Parameters"));
    QMenu *commands = subMenu(c.HydroSystem1, "HydroCommands1", QStringLiteral("Commands"));
    // One item per hydraulic action, grouped in submenus as the menu table groups them.
    std::map<QString, QMenu *> groups;
    int n = 0;
    for (const HydroMenuItem &a : hydroMenu()) {
        QMenu *menu = commands;
        if (a.group) {
            QMenu *&group = groups[QString::fromLatin1(a.group)];
            if (!group)
                group = subMenu(commands, ("HydroGroup" + std::to_string(++n)).c_str(),
                                QString::fromLatin1(a.group));
            menu = group;
        }
        item(menu, a.item, QString::fromLatin1(a.caption));
    }
}

void buildBatch(QMainWindow &window, MainControls &c)
{
    c.Batch1 = topMenu(window, "Batch1", QStringLiteral("Batch"));
    c.CardNumbers1 = item(c.Batch1, "CardNumbers1", QStringLiteral("Card Numbers..."));
    c.PrintFromFile1 = item(c.Batch1, "PrintFromFile1", QStringLiteral("Print From File..."));
}

void buildHelp(QMainWindow &window, MainControls &c)
{
    c.Help1 = topMenu(window, "Help1", QStringLiteral("Help"));
    c.HelpItem = item(c.Help1, "HelpItem", QStringLiteral("Help"), Qt::Key_F7);
    c.About1 = item(c.Help1, "About1", QStringLiteral("About "));
}

QAction *windowAction(QMainWindow &window, const char *name, const QString &caption,
                      const QKeySequence &shortcut = {})
{
    auto *a = new QAction(caption, &window);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(shortcut);
    return a;
}

void buildWindowActions(QMainWindow &window, MainControls &c)
{
    // The edit-cut action shares Ctrl+X with "LogosView", which takes it first: it is never added
    // to a widget, so its shortcut never fires and nothing ambiguous is registered.
    c.EditCut1 = windowAction(window, "EditCut1", QStringLiteral("Cu&t"), ctrl(Qt::Key_X));
    c.FileOpen1 = windowAction(window, "FileOpen1", QStringLiteral("&Open"), ctrl(Qt::Key_O));
    c.FileSave1 = windowAction(window, "FileSave1", QStringLiteral("&Save"));
    c.FileSaveAs1 = windowAction(window, "FileSaveAs1", QStringLiteral("Save &As..."));
    window.addAction(c.FileOpen1);
    window.addAction(c.FileSave1);
    window.addAction(c.FileSaveAs1);
}

} // namespace

void buildMenus(QMainWindow &window, MainControls &c, const vlink::DeviceMap &devices)
{
    buildFile(window, c, devices);
    buildFKey(window, c);
    buildTools(window, c);
    buildGraphics(window, c);
    buildMark(window, c);
    buildCommands(window, c);
    buildParams(window, c);
    buildHydroSystem(window, c);
    buildBatch(window, c);
    buildHelp(window, c);
    buildWindowActions(window, c);
}

} // namespace vshell
