#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>
#include <map>
#include <optional>

namespace vp
{

// What the virtual printer remembers between commands.
struct PrinterState {
    bool running = false;
    bool highVoltage = false;
    int startCount = 0;
    int stopCount = 0;
    int resetCount = 0;
    int runningNumber = 0;
    int printCount = 0;
    bool runningForward = true;

    // Mark configuration byte: bit 0 horizontal mirroring (print back), bit 1 break-point
    // correction, bit 2 vertical mirroring (rotation).
    quint8 markConfig = 0;
    bool markDeleted = false;

    QByteArray autoRunPeriod = "000";
    bool autoRunStopped = false;
    quint16 axl = 0x0123; // the "A x L=" value
    quint16 postDateDays = 0;
    quint8 fontCount = 16;

    std::map<char, quint8> params = {{'C', 10},  {'D', 20},  {'F', 30}, {'H', 40}, {'J', 50},
                                     {'K', 60},  {'L', 70},  {'Q', 80}, {'S', 2},  {'T', 90},
                                     {'U', 100}, {'Y', 110}, {'Z', 120}};
    quint8 status = 0x00;
    // When set, the time-parameter read answers these bytes (after their count) instead.
    std::optional<QByteArray> timeParamsOverride;

    // Clock: the printer's time is kept as an offset to the host clock, so it runs.
    qint64 clockOffsetMs = 0;
    QDateTime now() const { return QDateTime::currentDateTime().addMSecs(clockOffsetMs); }
    // The date a post date prints: the day count after the printer's today.
    QDate postDate() const { return now().date().addDays(postDateDays); }
};

} // namespace vp
