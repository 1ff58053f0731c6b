#include "shell/card_print_form.h"

#include "ui/named_controls.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vshell
{

namespace
{

std::optional<qint64> number(const QLineEdit *edit)
{
    bool ok = false;
    const qint64 n = edit->text().trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

} // namespace

TCardPrint::TCardPrint(const BatchSetting &setting, QWidget *parent) : BatchWindow(setting, parent)
{
    setObjectName(QStringLiteral("CardPrint"));
    setWindowTitle(QStringLiteral("Card Numbers"));
    settings_ = new QWidget(this);
    auto *form = new QFormLayout(settings_);
    first_ = vui::named<QLineEdit>(settings_, "FirstNumber", QStringLiteral("1"));
    count_ = vui::spinBox(settings_, "NumberCount", 1, batch::MaxCardCount, 100);
    step_ = vui::named<QLineEdit>(settings_, "NumberStep", QStringLiteral("1"));
    digits_ = vui::spinBox(settings_, "NumberDigits", 0, batch::MaxCardDigits, 6);
    prefix_ = vui::named<QLineEdit>(settings_, "NumberPrefix");
    suffix_ = vui::named<QLineEdit>(settings_, "NumberSuffix");
    row_ = vui::spinBox(settings_, "CellRow", 1, batch::MaxRows, 1);
    column_ = vui::spinBox(settings_, "CellColumn", 1, batch::MaxColumns, 1);
    font_ = vui::spinBox(settings_, "CellFont", 0, 99, 1);
    form->addRow(QStringLiteral("First number:"), first_);
    form->addRow(QStringLiteral("Count:"), count_);
    form->addRow(QStringLiteral("Step:"), step_);
    form->addRow(QStringLiteral("Digits (0: as wide as the number):"), digits_);
    form->addRow(QStringLiteral("Prefix:"), prefix_);
    form->addRow(QStringLiteral("Suffix:"), suffix_);
    form->addRow(QStringLiteral("Cell row:"), row_);
    form->addRow(QStringLiteral("Cell column:"), column_);
    form->addRow(QStringLiteral("Font:"), font_);
    preview_ = vui::named<QLabel>(this, "CardPreview");
    preview_->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(settings_);
    layout->addWidget(preview_);
    layout->addWidget(baseJobRow_);
    layout->addWidget(panel_);
    for (QLineEdit *e : {first_, step_, prefix_, suffix_})
        connect(e, &QLineEdit::textChanged, this, &TCardPrint::preview);
    for (QSpinBox *b : {count_, digits_, row_, column_, font_})
        connect(b, &QSpinBox::valueChanged, this, &TCardPrint::preview);
    preview();
}

std::optional<batch::CardNumbers> TCardPrint::cards() const
{
    const std::optional<qint64> first = number(first_);
    const std::optional<qint64> step = number(step_);
    if (!first || !step)
        return std::nullopt;
    batch::CardNumbers c;
    c.first = *first;
    c.step = *step;
    c.count = count_->value();
    c.digits = digits_->value();
    c.prefix = prefix_->text();
    c.suffix = suffix_->text();
    c.row = row_->value();
    c.column = column_->value();
    c.font = font_->value();
    return c;
}

// The first and the last text as they will be printed, or what is wrong.
void TCardPrint::preview()
{
    const std::optional<batch::CardNumbers> c = cards();
    if (!c) {
        preview_->setText(QStringLiteral("The first number and the step must be whole numbers"));
        return;
    }
    const QString error = batch::cardNumbersError(*c, setting_.line.fontCount);
    if (!error.isEmpty()) {
        preview_->setText(error);
        return;
    }
    preview_->setText(QStringLiteral("First: \"%1\"   Last: \"%2\"")
                          .arg(batch::cardText(*c, 0), batch::cardText(*c, c->count - 1)));
}

bool TCardPrint::records(QList<batch::Record> &records, batch::RunKey &key, QString &source)
{
    const std::optional<batch::CardNumbers> c = cards();
    const QString error = c ? batch::cardNumbersError(*c, setting_.line.fontCount)
                            : QStringLiteral("The first number and the step must be whole numbers");
    if (!error.isEmpty()) {
        setting_.prompts.error(error);
        return false;
    }
    QList<batch::Refusal> refusals;
    records = batch::cardRecords(*c, setting_.codePage, refusals);
    if (!refusals.isEmpty()) {
        setting_.prompts.error(batch::refusalText(refusals.first()) +
                               (refusals.size() > 1
                                    ? QStringLiteral("\n(and %1 more)").arg(refusals.size() - 1)
                                    : QString()));
        return false;
    }
    key = batch::cardRunKey(*c);
    source = QStringLiteral("Card numbers");
    return true;
}

void TCardPrint::setSettingsEnabled(bool on)
{
    settings_->setEnabled(on);
}

} // namespace vshell
