#include "shell/menu_enabling.h"

#include <QCheckBox>
#include <QMenu>

namespace vshell
{

namespace
{

void enable(std::initializer_list<QAction *> actions, bool on)
{
    for (QAction *a : actions)
        a->setEnabled(on);
}

} // namespace

MenuEnabling::MenuEnabling(vui::LineState &line, const MainControls &c) : line_(line), c_(c) {}

void MenuEnabling::wire(const MainControls &c, const ItemHandlers &on)
{
    on.onOpen(c.Tools1, [this] { Tools1Click(); });
    on.onOpen(c.Graphics1, [this] { Graphics1Click(); });
    on.onOpen(c.Mark1, [this] { Mark1Click(); });
    on.onOpen(c.Params1, [this] { Params1Click(); });
    on.onClick(c.CBDepotNow, [this] { CBDepotNowClick(); });
}

void MenuEnabling::setDepotNow(bool on)
{
    c_.CBDepotNow->setChecked(on);
    CBDepotNowClick();
}

void MenuEnabling::CBDepotNowClick()
{
    const bool depot = c_.CBDepotNow->isChecked();
    line_.depotOnly = depot;
    c_.DepotVersia1->setEnabled(depot);
    // A Depot unit alone runs no printer commands.
    enable({c_.Commands1->menuAction(), c_.ParamsValue1, c_.ByteStatus1, c_.TbLogoRead,
            c_.TbLogosView, c_.TbMarkRead, c_.TbSpecFuncWrite, c_.TbAutoRunStop,
            c_.TbRunningNumberReset, c_.TbHighVoltageTurn, c_.TbParamsValue},
           !depot);
    enable({c_.DepotBankMaxNum1, c_.DepotLogoRead1, c_.DepotLogosView1}, depot);
    c_.Font1->setEnabled(!depot);
    if (depot)
        line_.fontCount = 16;
}

void MenuEnabling::Tools1Click()
{
    using K = vlink::DeviceKind;
    const K kind = line_.deviceKind;
    c_.LogoToMarkAction1->setEnabled(true);
    c_.SpecFunc1->menuAction()->setEnabled(!line_.depotOnly);
    c_.LogoToMarkAction1->setEnabled(kind == K::PrinterViaDepot || kind == K::Printer);
    c_.DepotLogoPaste1->setEnabled(kind == K::PrinterViaDepot || kind == K::DepotOnly);
}

void MenuEnabling::Graphics1Click()
{
    const bool printer = !line_.depotOnly;
    enable({c_.Read2, c_.LogosView1, c_.MarkRead1}, printer);
    c_.DepotLogoLoad1->setEnabled(line_.depotOnly);
    if (line_.deviceKind == vlink::DeviceKind::PrinterViaDepot)
        enable({c_.Read2, c_.LogosView1, c_.MarkRead1, c_.DepotLogosView1, c_.DepotLogoLoad1,
                c_.DepotLogoRead1},
               true);
}

void MenuEnabling::Mark1Click()
{
    c_.Config1->menuAction()->setEnabled(!line_.depotOnly);
    c_.Font1->setEnabled(!line_.depotOnly);
}

void MenuEnabling::Params1Click()
{
    if (!line_.depotOnly && line_.deviceKind == vlink::DeviceKind::PrinterViaDepot)
        enable({c_.DepotBankMaxNum1, c_.DepotVersia1}, true);
}

} // namespace vshell
