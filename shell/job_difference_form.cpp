#include "shell/job_difference_form.h"

#include "graphics/model/mark_picture.h"
#include "ui/named_controls.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vshell
{

namespace
{

// The printer's picture enlarged, the differing columns framed so a dot-wide span still shows.
QImage markedPicture(const vjob::Job &found, std::optional<vjob::ColumnSpan> span)
{
    if (!found.picture)
        return {};
    const QImage dots = vgfx::markPicture(*found.picture);
    if (dots.isNull())
        return {};
    constexpr int z = TJobDifferenceForm::Zoom;
    QImage image = dots.convertToFormat(QImage::Format_RGB32).scaled(dots.size() * z);
    if (span) {
        QPainter painter(&image);
        painter.setPen(QPen(QColor::fromRgb(TJobDifferenceForm::Marked), 2));
        painter.drawRect(span->first * z, 1, (span->last - span->first + 1) * z - 1,
                         image.height() - 2);
    }
    return image;
}

} // namespace

TJobDifferenceForm::TJobDifferenceForm(const QStringList &differences, const vjob::Job &found,
                                       std::optional<vjob::ColumnSpan> span, QWidget *parent)
    : QDialog(parent), shown_(markedPicture(found, span))
{
    setObjectName(QStringLiteral("JobDifferenceForm"));
    setWindowTitle(QStringLiteral("Job Differences"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("The printer's mark differs from the job. The first difference:"), this));
    auto *first = vui::named<QLabel>(this, "FirstDifference", differences.value(0));
    first->setWordWrap(true);
    layout->addWidget(first);
    auto *scroll = vui::named<QScrollArea>(this, "Panel1");
    auto *picture = vui::named<QLabel>(scroll, "Image1");
    picture->setPixmap(QPixmap::fromImage(shown_));
    scroll->setWidget(picture);
    scroll->setVisible(!shown_.isNull());
    layout->addWidget(scroll);
    auto *list = vui::named<QListWidget>(this, "Differences");
    list->addItems(differences);
    layout->addWidget(list);
    QPushButton *ok = vui::actionButton(*this, "OKBtn", QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

} // namespace vshell
