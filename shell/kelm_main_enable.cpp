#include "shell/kelm_main.h"

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

void TAutoControl::CBDepotNowClick()
{
    const bool depot = c_.CBDepotNow->isChecked();
    state_.line.depotOnly = depot;
    c_.DepotVersia1->setEnabled(depot);
    // A Depot unit alone runs no printer commands.
    enable({c_.Commands1->menuAction(), c_.ParamsValue1, c_.ByteStatus1, c_.TbLogoRead,
            c_.TbLogosView, c_.TbMarkRead, c_.TbSpecFuncWrite, c_.TbAutoRunStop,
            c_.TbRunningNumberReset, c_.TbHighVoltageTurn, c_.TbParamsValue},
           !depot);
    enable({c_.DepotBankMaxNum1, c_.DepotLogoRead1, c_.DepotLogosView1}, depot);
    if (depot)
        state_.line.fontCount = 16;
}

void TAutoControl::Tools1Click()
{
    using K = vlink::DeviceKind;
    const K kind = state_.line.deviceKind;
    c_.LogoToMarkAction1->setEnabled(true);
    c_.SpecFunc1->menuAction()->setEnabled(!state_.line.depotOnly);
    c_.LogoToMarkAction1->setEnabled(kind == K::PrinterViaDepot || kind == K::Printer);
    c_.DepotLogoPaste1->setEnabled(kind == K::PrinterViaDepot || kind == K::DepotOnly);
}

void TAutoControl::Graphics1Click()
{
    const bool printer = !state_.line.depotOnly;
    enable({c_.Read2, c_.LogosView1, c_.MarkRead1}, printer);
    c_.DepotLogoLoad1->setEnabled(state_.line.depotOnly);
    if (state_.line.deviceKind == vlink::DeviceKind::PrinterViaDepot)
        enable({c_.Read2, c_.LogosView1, c_.MarkRead1, c_.DepotLogosView1, c_.DepotLogoLoad1,
                c_.DepotLogoRead1},
               true);
}

void TAutoControl::Mark1Click()
{
    c_.Config1->menuAction()->setEnabled(!state_.line.depotOnly);
}

void TAutoControl::Params1Click()
{
    if (!state_.line.depotOnly && state_.line.deviceKind == vlink::DeviceKind::PrinterViaDepot)
        enable({c_.DepotBankMaxNum1, c_.DepotVersia1}, true);
}

void TAutoControl::Printer1Click()
{
    for (QAction *a : c_.Printers)
        a->setEnabled(state_.line.portOpen);
}

} // namespace vshell
