#pragma once

#include "job/job_transfer.h"
#include "link/names_list.h"

#include <QDialog>
#include <QList>

class QComboBox;

namespace vshell
{

// "Job Logos": no reply tells which logo a graphic cell places, so the operator names it for the
// job being saved, from the printer's logos; "unknown" saves the cell without it.
class TJobLogosForm : public QDialog
{
    Q_OBJECT

public:
    // cells holds the index (vjob::Job::index) of each graphic cell.
    TJobLogosForm(const QList<int> &cells, const vlink::LogoNames &names, QWidget *parent);

    vjob::CellLogos logos() const;

private:
    QList<int> cells_;
    QList<QComboBox *> choices_;
};

} // namespace vshell
