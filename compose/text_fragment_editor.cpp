#include "compose/text_fragment_editor.h"

#include "compose/cell_editor_form.h"
#include "compose/cell_reader.h"
#include "compose/small_dialog_parts.h"
#include "link/command_table.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "link/mark_field_checks.h"
#include "ui/busy_cursor.h"
#include "ui/messages.h"
#include "ui/named_controls.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace vcompose
{

namespace
{

using vui::named;

QLineEdit *readOnlyNumber(const char *name, const QString &value, QWidget *parent)
{
    auto *edit = named<QLineEdit>(parent, name, value);
    edit->setReadOnly(true);
    edit->setMaximumWidth(48);
    return edit;
}

} // namespace

TOKHelpRightDlg::TOKHelpRightDlg(vui::LineState &line, vui::MarkEditing &mark,
                                 vui::Prompts &prompts, vlink::CodePage codePage,
                                 QObject *mainWindow, QWidget *parent)
    : QDialog(parent), line_(line), mark_(mark), prompts_(prompts), codePage_(std::move(codePage)),
      mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("TOKHelpRightDlg"));
    setWindowTitle(QStringLiteral("TextFragmentReadWrite"));
    buildLayout();
}

void TOKHelpRightDlg::buildLayout()
{
    using vui::arrowButton;
    coordPanel_ = named<QGroupBox>(this, "CoordPanel", QStringLiteral("Coordinate"));
    rowStr_ = readOnlyNumber("RowStr", QStringLiteral("1"), coordPanel_);
    colStr_ = readOnlyNumber("ColStr", QStringLiteral("1"), coordPanel_);
    auto *coords = new QGridLayout(coordPanel_);
    coords->addWidget(new QLabel(QStringLiteral("Row"), coordPanel_), 0, 0);
    coords->addWidget(rowStr_, 0, 1);
    coords->addWidget(arrowButton(this, "RowUp", Qt::UpArrow), 0, 2);
    coords->addWidget(arrowButton(this, "RowDown", Qt::DownArrow), 0, 3);
    coords->addWidget(new QLabel(QStringLiteral("Column"), coordPanel_), 1, 0);
    coords->addWidget(colStr_, 1, 1);
    coords->addWidget(arrowButton(this, "ColUp", Qt::UpArrow), 1, 2);
    coords->addWidget(arrowButton(this, "ColDown", Qt::DownArrow), 1, 3);

    auto *fontBox = new QGroupBox(QStringLiteral("Font Size"), this);
    fontSize_ = readOnlyNumber("EFontSize", QStringLiteral("1"), fontBox);
    auto *fonts = new QHBoxLayout(fontBox);
    fonts->addWidget(fontSize_);
    fonts->addWidget(arrowButton(this, "FontUp", Qt::UpArrow));
    fonts->addWidget(arrowButton(this, "FontDown", Qt::DownArrow));

    fragText_ = named<QLineEdit>(this, "Fragtext");
    fragText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    fragText_->installEventFilter(this);
    change_ = named<QCheckBox>(this, "Ch_", QStringLiteral("Change"));
    change_->hide();
    writeText_ = vui::actionButton(*this, "BtWriteText", QStringLiteral("Ok"));
    cancel_ = vui::pushButton(this, "CancelBtn", QStringLiteral("Cancel"));

    auto *top = new QHBoxLayout;
    top->addWidget(coordPanel_);
    top->addWidget(fontBox);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(change_);
    buttons->addStretch();
    buttons->addWidget(writeText_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(fragText_);
    layout->addLayout(buttons);

    const auto on = [this](const char *name, auto handler) {
        connect(findChild<QToolButton *>(QLatin1String(name)), &QToolButton::clicked, this,
                handler);
    };
    on("RowUp", [this] { navigate(+1, 0); });
    on("RowDown", [this] { navigate(-1, 0); });
    on("ColUp", [this] { navigate(0, +1); });
    on("ColDown", [this] { navigate(0, -1); });
    on("FontUp", [this] { fontStep(+1); });
    on("FontDown", [this] { fontStep(-1); });
    connect(writeText_, &QPushButton::clicked, this, &TOKHelpRightDlg::writeSequence);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(change_, &QCheckBox::clicked, this, &TOKHelpRightDlg::changeClicked);
}

// Every showing reads the cell the coordinates still name.
void TOKHelpRightDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    coordPanel_->show();
    readCurrentCell();
    writeText_->setFocus();
}

bool TOKHelpRightDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == fragText_ && event->type() == QEvent::KeyRelease &&
        fragText_->text().size() > vlink::FragmentTypedMax)
        prompts_.beep();
    return QDialog::eventFilter(watched, event);
}

void TOKHelpRightDlg::readCurrentCell()
{
    const vui::BusyCursor busy;
    mark_.cellRoutine = vui::CellRoutine::Read;
    cellRoutine(vui::CellRoutine::Read);
}

bool TOKHelpRightDlg::coordinates(int &row, int &column)
{
    bool ok = false;
    row = rowStr_->text().toInt(&ok);
    if (!ok) {
        prompts_.beep();
        rowStr_->setFocus();
        return false;
    }
    if (row > MaxRow) {
        prompts_.error(QStringLiteral("Maximum Row value=4"));
        return false;
    }
    column = colStr_->text().toInt(&ok);
    if (!ok) {
        prompts_.beep();
        colStr_->setFocus();
        return false;
    }
    if (column > MaxColumn) {
        prompts_.error(QStringLiteral("Maximum Column value=8"));
        return false;
    }
    return true;
}

void TOKHelpRightDlg::cellRoutine(vui::CellRoutine mode, const QByteArray &text)
{
    int row = 0;
    int column = 0;
    if (!coordinates(row, column))
        return;
    if (fieldRefused(vlink::fragmentBytesRefusal(text), nullptr, prompts_))
        return;
    if (mode == vui::CellRoutine::Write)
        writeCell(row, column, text);
    else
        readCell(row, column);
}

// The text goes out as typed: blanks at its ends are the operator's.
void TOKHelpRightDlg::writeCell(int row, int column, const QByteArray &text)
{
    if (vlink::TextFragmentWrite(line_.port, row, column, text))
        prompts_.ok();
    else
        readError(vlink::failureText(vlink::PrinterCommand::TextFragmentWrite));
}

void TOKHelpRightDlg::readCell(int row, int column)
{
    fragText_->clear();
    if (line_.depotOnly)
        return;
    vlink::Fragment fragment;
    if (!vcompose::readCell(line_.port, row, column, fragment)) {
        readError(vlink::failureText(vlink::PrinterCommand::TextFragmentRead));
        return;
    }
    showFragment(fragment);
}

void TOKHelpRightDlg::showFragment(const vlink::Fragment &fragment)
{
    const CellDisplay shown =
        displayFor(fragment, CellVariant::textEditor(line_.fontCount), codePage_);
    loaded_ = true;
    loadedText_ = codePage_.encode(shown.text);
    fragText_->setText(shown.text);
    fragText_->setEnabled(shown.editable);
    change_->setChecked(false);
    change_->setVisible(shown.changeShown);
    fontSize_->setText(QString::number(shown.font.value_or(0)));
}

// A cell the editor cannot read or write ends the program: the main window closes on this.
void TOKHelpRightDlg::readError(const QString &text)
{
    prompts_.error(text);
    vui::sendMessage(mainWindow_, vui::Message::ReadError);
}

void TOKHelpRightDlg::writeSequence()
{
    const vui::BusyCursor busy;
    if (!line_.depotOnly && !change_->isHidden() && !change_->isChecked()) {
        prompts_.error(QStringLiteral("Select \"Change\" mode, if you want Text insert"));
        prompts_.beep();
        return;
    }
    if (fieldRefused(vlink::fragmentTypedRefusal(fragText_->text()), nullptr, prompts_))
        return;
    mark_.cellRoutine = vui::CellRoutine::Write;
    cellRoutine(vui::CellRoutine::Write, codePage_.encode(fragText_->text()));
    // The font follows whatever became of the text.
    const int font = fontSize_->text().toInt();
    if (vlink::FontSet(line_.port, font, rowStr_->text().toInt(), colStr_->text().toInt()))
        loaded_ = false;
    else
        prompts_.error(vlink::failureText(vlink::PrinterCommand::FontSet));
}

bool TOKHelpRightDlg::textChanged() const
{
    const QString edited = codePage_.decode(codePage_.encode(fragText_->text()));
    return QString::localeAwareCompare(edited, codePage_.decode(loadedText_)) != 0;
}

void TOKHelpRightDlg::navigate(int rowStep, int columnStep)
{
    if (loaded_ && textChanged() &&
        prompts_.question(QStringLiteral("Text was changed. Save?"), vui::CaptionConfirm))
        writeSequence();
    loaded_ = false;
    const int row = qBound(1, rowStr_->text().toInt() + rowStep, MaxRow);
    const int column = qBound(1, colStr_->text().toInt() + columnStep, MaxColumn);
    rowStr_->setText(QString::number(row));
    colStr_->setText(QString::number(column));
    readCurrentCell();
}

// Up asks the printer for its font count first; without a printer there are 16 fonts.
void TOKHelpRightDlg::fontStep(int step)
{
    int font = fontSize_->text().toInt() + step;
    if (step > 0) {
        const vui::BusyCursor busy;
        refreshFontCount();
        font = qMin(font, int(line_.fontCount) - 1);
    }
    fontSize_->setText(QString::number(qMax(font, 0)));
}

void TOKHelpRightDlg::refreshFontCount()
{
    vcompose::refreshFontCount(line_);
}

void TOKHelpRightDlg::changeClicked(bool checked)
{
    fragText_->setEnabled(checked);
    if (checked) {
        fragText_->clear();
        loadedText_.clear();
    }
}

} // namespace vcompose
