#include "graphics/logo_read_write_form.h"

#include "graphics/model/logo_name.h"
#include "link/command_table.h"
#include "link/logo_commands.h"
#include "ui/named_controls.h"
#include "ui/up_down_box.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

namespace vgfx
{

TLogoReadWriteForm::TLogoReadWriteForm(const LogoFormContext &context, QWidget *parent)
    : LogoFormBase(LogoStore::Printer, context, parent)
{
    setObjectName(QStringLiteral("TLogoReadWriteForm"));
    clear_ = vui::pushButton(this, "BtClear", QStringLiteral("Clear"));
    rename_ = vui::pushButton(this, "BtRename", QStringLiteral("Rename"));
    buttonRow()->addWidget(clear_);
    buttonRow()->addWidget(rename_);
    clear_->hide();
    rename_->hide();

    connect(clear_, &QPushButton::clicked, this, [this] { run([this] { clearClick(); }); });
    connect(rename_, &QPushButton::clicked, this, [this] { run([this] { renameClick(); }); });
    connect(name_, &QLineEdit::textEdited, this, [this] { filterName(); });
}

void TLogoReadWriteForm::showStore()
{
    clear_->setVisible(readMode());
    rename_->setVisible(readMode());
}

bool TLogoReadWriteForm::readLogo(int number)
{
    const vlink::LogoOutcome outcome = vlink::PrinterLogoRead(line_.port, number, logos_.logo);
    if (outcome.failedOnFirstByte)
        prompts_.tone();
    // A logo that came in closes the dialog, so that the main window reopens it showing the logo.
    // In Depot-only mode that is the Depot's dialog, which is not the one open.
    if (outcome.ok && !line_.depotOnly)
        requestClose();
    return outcome.ok;
}

// The arrows first read logo 0 and then the logo they select, so a Read-mode dialog ends up
// showing the selected one. Each read is a fresh try: an earlier failure must not keep the
// dialog from coming back with the logo that did arrive.
void TLogoReadWriteForm::numberArrow(int delta)
{
    const int selected = steppedNumber(delta);
    const auto read = [this](int number) {
        if (!readMode())
            return;
        logos_.errorFlag = false;
        readWithRetry(number);
    };
    number_->setNumber(0);
    read(0);
    number_->setNumber(selected);
    read(selected);
}

void TLogoReadWriteForm::clearClick()
{
    if (!prompts_.question(QStringLiteral("Logo delete. Are You Sure?"), vui::CaptionConfirm))
        return;
    const std::optional<int> number = number_->number();
    if (!number) {
        prompts_.beep();
        return;
    }
    const int kept = logos_.logo.number;
    logos_.logo = vlink::LogoBuffer::deleted();
    logos_.logo.number = kept;
    redraw(logos_.zoomCurrent);
    if (vlink::PrinterLogoDelete(line_.port, *number)) {
        prompts_.ok();
        return;
    }
    logos_.errorFlag = true;
    prompts_.error(vlink::failureText(vlink::PrinterCommand::PrinterLogoDelete));
}

void TLogoReadWriteForm::renameClick()
{
    const std::optional<int> number = number_->number();
    if (!number) {
        prompts_.beep();
        return;
    }
    const vlink::LogoOutcome outcome =
        vlink::PrinterLogoRename(line_.port, *number, fieldName(), logos_.logo);
    if (outcome.ok)
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(vlink::PrinterCommand::PrinterLogoRename));
}

void TLogoReadWriteForm::filterName()
{
    const NameEdit edit = filterLogoName(name_->text());
    name_->setText(edit.text);
    name_->setCursorPosition(edit.caret);
}

} // namespace vgfx
