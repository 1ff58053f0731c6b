#include "shell/cell_editors_flow.h"

#include "compose/counter_form.h"
#include "compose/post_date_form.h"
#include "compose/time_form.h"
#include "link/codepage.h"
#include "link/settings_file.h"

namespace vshell
{

namespace
{

vlink::CodePage codePageOf(const QString &settingsPath)
{
    return vlink::CodePage::fromSettings(vlink::SettingsFile(settingsPath));
}

} // namespace

CellEditorsFlow::CellEditorsFlow(QWidget &mainWindow, vui::LineState &line, const vui::Clock &clock,
                                 vui::Prompts &prompts, vui::ModalRunner &modal,
                                 QString settingsPath)
    : mainWindow_(mainWindow), line_(line), clock_(clock), prompts_(prompts), modal_(modal),
      settingsPath_(std::move(settingsPath))
{
}

void CellEditorsFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    for (QAction *item : {c.Counter2, c.FKeyCounter, c.TbCounter})
        on.on(item, [this] { openCounter(); });
    for (QAction *item : {c.ime1, c.FKeyTimeDate, c.TbTimeDate})
        on.on(item, [this] { openTime(); });
    for (QAction *item : {c.PDate2, c.FKeyPostDate})
        on.on(item, [this] { openPostDate(); });
}

void CellEditorsFlow::openCounter()
{
    vcompose::TCounterForm form(line_, prompts_, codePageOf(settingsPath_), &mainWindow_,
                                &mainWindow_);
    modal_.exec(form);
}

void CellEditorsFlow::openTime()
{
    vcompose::TTimeForm form(line_, prompts_, codePageOf(settingsPath_), clock_, &mainWindow_);
    modal_.exec(form);
}

void CellEditorsFlow::openPostDate()
{
    vcompose::TPostDateForm form(line_, prompts_, codePageOf(settingsPath_), &mainWindow_);
    modal_.exec(form);
}

} // namespace vshell
