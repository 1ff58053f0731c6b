#pragma once

#include "ui/station_state.h"

#include <QDialog>
#include <array>

class QLabel;

namespace vshell
{

// "ByteStatus": the printer's status byte as two groups of lamps and four words.
class TByteStatusForm_ : public QDialog
{
    Q_OBJECT

public:
    explicit TByteStatusForm_(vui::LineState &line, QWidget *parent = nullptr);

    // Reads the status byte and shows it; a failed read shows that nothing answered.
    void FormActivate();
    void showStatus(quint8 status);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showNoAnswer();

    vui::LineState &line_;
    // R, G, B, then PR, PG, PB.
    std::array<QLabel *, 6> lamps_{};
    QLabel *HighVoltUnitStat_label = nullptr;
    QLabel *UnitOnOff_label = nullptr;
    QLabel *Head_label = nullptr;
    QLabel *Mark_label = nullptr;
    QLabel *NoAnswer_label = nullptr;
};

} // namespace vshell
