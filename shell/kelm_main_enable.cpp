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
    state_.depotOnly = depot;
    c_.DepotVersia1->setEnabled(depot);
    // A Depot unit alone runs no printer commands.
    enable({c_.Commands1->menuAction(), c_.ParamsValue1, c_.ByteStatus1, c_.TbLogoRead,
            c_.TbLogosView, c_.TbMarkRead, c_.TbSpecFuncWrite, c_.TbAutoRunStop,
            c_.TbRunningNumberReset, c_.TbHighVoltageTurn, c_.TbParamsValue},
           !depot);
    enable({c_.DepotBankMaxNum1, c_.DepotLogoRead1, c_.DepotLogosView1}, depot);
    if (depot)
        state_.fontCount = 16;
}

void TAutoControl::Tools1Click()
{
    using K = vlink::DeviceKind;
    const K kind = state_.deviceKind;
    c_.LogoToMarkAction1->setEnabled(true);
    c_.SpecFunc1->menuAction()->setEnabled(!state_.depotOnly);
    c_.LogoToMarkAction1->setEnabled(kind == K::PrinterViaDepot || kind == K::Printer);
    c_.DepotLogoPaste1->setEnabled(kind == K::PrinterViaDepot || kind == K::DepotOnly);
}

void TAutoControl::Graphics1Click()
{
    const bool printer = !state_.depotOnly;
    enable({c_.Read2, c_.LogosView1, c_.MarkRead1}, printer);
    c_.DepotLogoLoad1->setEnabled(state_.depotOnly);
    if (state_.deviceKind == vlink::DeviceKind::PrinterViaDepot)
        enable({c_.Read2, c_.LogosView1, c_.MarkRead1, c_.DepotLogosView1, c_.DepotLogoLoad1,
                c_.DepotLogoRead1},
               true);
}

void TAutoControl::Mark1Click()
{
    c_.Config1->menuAction()->setEnabled(!state_.depotOnly);
}

void TAutoControl::Params1Click()
{
    if (!state_.depotOnly && state_.deviceKind == vlink::DeviceKind::PrinterViaDepot)
        enable({c_.DepotBankMaxNum1, c_.DepotVersia1}, true);
}

void TAutoControl::Printer1Click()
{
    for (QAction *a : c_.Printers)
        a->setEnabled(state_.portOpen);
}

} // namespace vshell
