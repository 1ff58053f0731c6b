#include "shell/main_toolbar.h"

#include "shell/pictures.h"

#include <QMainWindow>
#include <QToolBar>

namespace vshell
{

namespace
{

// Button colours by what the button drives.
const QColor Machine(0x2e, 0x8b, 0x57);
const QColor Text(0x2f, 0x6d, 0xb5);
const QColor Logo(0x7b, 0x4f, 0xa6);
const QColor Mark(0xc7, 0x7c, 0x1e);
const QColor Counter(0x8a, 0x3b, 0x3b);
const QColor Hidden(0x70, 0x70, 0x70);

QAction *button(QToolBar *bar, const char *name, const QString &hint, const QString &label,
                const QColor &colour)
{
    QAction *a = bar->addAction(toolIcon(label, colour), hint);
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(hint);
    a->setStatusTip(hint);
    return a;
}

QAction *hiddenButton(QToolBar *bar, const char *name, const QString &hint, const QString &label)
{
    QAction *a = button(bar, name, hint, label, Hidden);
    a->setVisible(false);
    return a;
}

} // namespace

void buildToolBar(QMainWindow &window, MainControls &c)
{
    QToolBar *bar = window.addToolBar(QStringLiteral("Tools"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setIconSize(QSize(32, 32));
    c.ToolBar1 = bar;

    c.TbStart = button(bar, "TbStart", QStringLiteral("Start"), QStringLiteral("GO"), Machine);
    bar->addSeparator();
    c.TbTextFragment = button(bar, "TbTextFragment", QStringLiteral("Text Fragment Read&Write"),
                              QStringLiteral("Aa"), Text);
    c.TbCounter =
        button(bar, "TbCounter", QStringLiteral("Counter"), QStringLiteral("123"), Counter);
    c.TbTimeDate =
        button(bar, "TbTimeDate", QStringLiteral("TimeDate"), QStringLiteral("T/D"), Text);
    c.TbSpecFuncWrite =
        button(bar, "TbSpecFuncWrite", QStringLiteral("SpecFuncWrite"), QStringLiteral("SF"), Text);
    bar->addSeparator();
    c.TbLogoLoad =
        button(bar, "TbLogoLoad", QStringLiteral("LogoLoad"), QStringLiteral("L+"), Logo);
    c.TbLogoRead =
        button(bar, "TbLogoRead", QStringLiteral("LogoRead"), QStringLiteral("L?"), Logo);
    c.TbLogosView =
        button(bar, "TbLogosView", QStringLiteral("LogosView"), QStringLiteral("LV"), Logo);
    c.TbMarkRead =
        button(bar, "TbMarkRead", QStringLiteral("MarkRead"), QStringLiteral("M?"), Mark);
    c.TbClipBoard =
        button(bar, "TbClipBoard", QStringLiteral("Load MS Word text fragment via ClipBoard"),
               QStringLiteral("W"), Text);
    bar->addSeparator();
    c.TbMarkStore =
        button(bar, "TbMarkStore", QStringLiteral("MarkStore"), QStringLiteral("MS"), Mark);
    c.TbMarkRestore =
        button(bar, "TbMarkRestore", QStringLiteral("MarkRestore"), QStringLiteral("MR"), Mark);
    c.TbMarkDelete =
        button(bar, "TbMarkDelete", QStringLiteral("MarkDelete"), QStringLiteral("MX"), Mark);
    bar->addSeparator();
    c.TbAutoRunStop =
        button(bar, "TbAutoRunStop", QStringLiteral("AutoRunStop"), QStringLiteral("AR"), Machine);
    c.TbRunningNumberReset =
        button(bar, "TbRunningNumberReset", QStringLiteral("RunningNumberReset"),
               QStringLiteral("0"), Counter);
    c.TbHighVoltageTurn = button(bar, "TbHighVoltageTurn", QStringLiteral("HighVoltageTurn"),
                                 QStringLiteral("HV"), Machine);
    c.TbParamsValue =
        button(bar, "TbParamsValue", QStringLiteral("ParamsValue"), QStringLiteral("P"), Machine);

    c.TbHydroSystemParams = hiddenButton(bar, "TbHydroSystemParams",
                                         QStringLiteral("HydroSystemParams"), QStringLiteral("H"));
    c.TbByteStatus =
        hiddenButton(bar, "TbByteStatus", QStringLiteral("ByteStatus"), QStringLiteral("BS"));
    for (int i = 0; i < 3; ++i)
        c.TbTest[std::size_t(i)] =
            hiddenButton(bar, QStringLiteral("TbTest%1").arg(i + 1).toLatin1().constData(),
                         QString(), QStringLiteral("T%1").arg(i + 1));
}

} // namespace vshell
