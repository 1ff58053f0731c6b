#include "graphics/dp_max_bank_num_form.h"

#include "link/command_table.h"
#include "link/depot_commands.h"
#include "ui/action_row.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vgfx
{

namespace
{
constexpr int HighestMaxBank = 255;
}

TDPMaxBankNumForm::TDPMaxBankNumForm(const LogoFormContext &context, QWidget *parent)
    : QDialog(parent), line_(context.line), prompts_(context.prompts)
{
    setObjectName(QStringLiteral("TDPMaxBankNumForm"));
    setWindowTitle(QStringLiteral("DepotMaxBankNumber"));
    auto *box = new QGroupBox(QStringLiteral("DepotBankMaxNumber Set"), this);
    number_ = vui::named<QLineEdit>(box, "MaxNumber");
    auto *field = new QHBoxLayout(box);
    field->addWidget(new QLabel(QStringLiteral("Max Number  (0-255)"), box));
    field->addWidget(number_);
    auto *ok = vui::actionButton(*this, "BtOk", QStringLiteral("Ok"));
    auto *cancel = vui::pushButton(this, "BtCancel", QStringLiteral("Cancel"));
    auto *main = new QVBoxLayout(this);
    main->addWidget(box);
    main->addWidget(vui::actionRow(ok, cancel, this));
    connect(ok, &QPushButton::clicked, this, [this] {
        const vui::BusyCursor busy;
        okClick();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
}

void TDPMaxBankNumForm::okClick()
{
    bool isNumber = false;
    const int value = number_->text().trimmed().toInt(&isNumber);
    if (!isNumber || value < 0 || value > HighestMaxBank)
        return;
    if (vlink::MaxBankNumSet(line_.port, value))
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(vlink::PrinterCommand::MaxBankNumSet));
}

TDPVersiaForm::TDPVersiaForm(const LogoFormContext &context, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TDPVersiaForm"));
    setWindowTitle(QStringLiteral("DPVersiaForm"));
    QByteArray text;
    bool read = false;
    {
        const vui::BusyCursor busy;
        read = vlink::DPVersionRead(context.line.port, text);
    }
    // An empty form would look like a Depot without a version.
    if (!read)
        context.prompts.error(vlink::failureText(vlink::PrinterCommand::DPVersionRead));
    read_ = read;
    auto *version = vui::named<QLabel>(this, "LVersia", context.codePage.decode(text));
    auto *ok = vui::actionButton(*this, "BtOk", QStringLiteral("Ok"));
    auto *main = new QVBoxLayout(this);
    main->addWidget(version);
    main->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, [this] { accept(); });
}

} // namespace vgfx
