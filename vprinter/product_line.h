#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace vp
{

// One mark that went out: when its print ended, the printer's print count, and the texts of the
// mark's cells as they were when the print began, row by row, left to right, empty cells left out.
struct PrintedMark {
    qint64 endMs = 0;
    int count = 0;
    QList<QByteArray> texts;
};

// The line the printer stands at: products pass its sensor at a steady rate while it runs, and
// each print takes as long as the mark's width at the line speed.
struct ProductLine {
    int productsPerMinute = 0;   // 0: no sensor, only print starts print
    int columnsPerSecond = 2000; // a 100-column mark takes 50 ms
    bool clocked = false;        // time is given; without it a print ends as it begins
    qint64 nowMs = 0;
    qint64 nextProductMs = -1; // while the printer runs with a sensor
    bool printing = false;
    qint64 printEndsMs = 0;
    QList<QByteArray> printingTexts;
    QList<PrintedMark> printed; // since the last take
    int productsMissed = 0;     // products that passed while a print was still going on

    qint64 productPeriodMs() const { return productsPerMinute > 0 ? 60000 / productsPerMinute : 0; }
};

} // namespace vp
