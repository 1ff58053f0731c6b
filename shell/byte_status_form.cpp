#include "shell/byte_status_form.h"

#include "link/machine_commands.h"
#include "ui/named_controls.h"
#include "ui/screen_fit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace vshell
{

namespace
{

QPixmap lampPicture(const QColor &colour)
{
    QPixmap picture(20, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker());
    painter.drawEllipse(2, 2, 16, 16);
    return picture;
}

QGroupBox *lampGroup(QWidget *parent, const QString &title, const char *const names[3],
                     QLabel **lamps)
{
    const QColor colours[3] = {Qt::red, Qt::green, Qt::blue};
    auto *group = new QGroupBox(title, parent);
    auto *row = new QHBoxLayout(group);
    for (int i = 0; i < 3; ++i) {
        lamps[i] = vui::named<QLabel>(group, names[i]);
        lamps[i]->setPixmap(lampPicture(colours[i]));
        lamps[i]->setFixedSize(20, 20);
        row->addWidget(lamps[i]);
    }
    row->addStretch();
    return group;
}

bool bit(quint8 s, int n)
{
    return (s >> n) & 1;
}

} // namespace

TByteStatusForm_::TByteStatusForm_(vui::LineState &line, QWidget *parent)
    : QDialog(parent), line_(line)
{
    setObjectName(QStringLiteral("ByteStatusForm_"));
    setWindowTitle(QStringLiteral("ByteStatus"));
    auto *words = new QFormLayout;
    const auto word = [&](const char *name, const char *caption) {
        QLabel *label = vui::named<QLabel>(this, name);
        words->addRow(QString::fromLatin1(caption), label);
        return label;
    };
    NoAnswer_label = vui::named<QLabel>(this, "NoAnswer_label");
    NoAnswer_label->setText(QStringLiteral("No answer: the printer's status is not known"));
    NoAnswer_label->hide();
    words->addRow(NoAnswer_label);
    HighVoltUnitStat_label = word("HighVoltUnitStat_label", "HighVoltageUnit Status:");
    UnitOnOff_label = word("UnitOnOff_label", "HighVoltageUnit :");
    Head_label = word("Head_label", "HeadCover :");
    Mark_label = word("Mark_label", "Mark Printing Now :");
    static const char *const fase[3] = {"R", "G", "B"};
    static const char *const process[3] = {"PR", "PG", "PB"};
    auto *lamps = new QHBoxLayout;
    lamps->addWidget(lampGroup(this, QStringLiteral("Fase"), fase, &lamps_[0]));
    lamps->addWidget(lampGroup(this, QStringLiteral("Process"), process, &lamps_[3]));
    auto *buttons = vui::named<QDialogButtonBox>(this, "OKButton", QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(words);
    layout->addLayout(lamps);
    layout->addWidget(buttons);
    vui::keepOnScreen(*this);
}

void TByteStatusForm_::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TByteStatusForm_::FormActivate()
{
    quint8 value = 0;
    if (vlink::ByteStatusRead(line_.port, value))
        showStatus(value);
    else
        showNoAnswer();
}

// An old byte shown as current would tell the operator a state the printer may have left.
void TByteStatusForm_::showNoAnswer()
{
    for (QLabel *lamp : lamps_)
        lamp->hide();
    for (QLabel *word : {HighVoltUnitStat_label, UnitOnOff_label, Head_label, Mark_label})
        word->clear();
    NoAnswer_label->show();
}

void TByteStatusForm_::showStatus(quint8 s)
{
    NoAnswer_label->hide();
    // Fase: B for either of the two high bits, R and G for each; Process likewise one nibble down.
    const bool shown[6] = {bit(s, 7), bit(s, 6), (s & 0xC0) != 0,
                           bit(s, 5), bit(s, 4), (s & 0x30) != 0};
    for (int i = 0; i < 6; ++i)
        lamps_[std::size_t(i)]->setVisible(shown[i]);
    HighVoltUnitStat_label->setText(bit(s, 3) ? QStringLiteral("Ok") : QStringLiteral("Destroy"));
    UnitOnOff_label->setText(bit(s, 2) ? QStringLiteral("On") : QStringLiteral("Off"));
    Head_label->setText(bit(s, 1) ? QStringLiteral("Close") : QStringLiteral("Open"));
    Mark_label->setText(bit(s, 0) ? QStringLiteral("Yes") : QStringLiteral("No"));
}

} // namespace vshell
