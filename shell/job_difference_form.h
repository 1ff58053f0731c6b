#pragma once

#include "job/job_transfer.h"

#include <QDialog>
#include <QImage>

namespace vshell
{

// "Job Differences": how the printer's mark differs from the job just loaded, with the printer's
// picture and the columns whose dots differ marked in red.
class TJobDifferenceForm : public QDialog
{
    Q_OBJECT

public:
    TJobDifferenceForm(const QStringList &differences, const vjob::Job &found,
                       std::optional<vjob::ColumnSpan> span, QWidget *parent);

    // The picture as shown, for a test to look at; null when the printer's mark is clear.
    const QImage &shown() const { return shown_; }

    static constexpr int Zoom = 4;
    static constexpr QRgb Marked = 0xFFFF0000;

private:
    QImage shown_;
};

} // namespace vshell
