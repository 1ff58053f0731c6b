#pragma once

#include "vprinter/device.h"

#include <QFile>
#include <QString>
#include <atomic>
#include <chrono>
#include <deque>

namespace vp
{

struct FrontendOptions {
    Kind kind = Kind::Printer;
    int speed = 57600; // the only line speed the device answers at
    // Bytes take their time on the line, 10 bits a byte, and each is judged by the line settings
    // in force when its last bit arrives.
    bool pace = false;
    int printers = 1; // printers sharing the line, 1..6
    Faults faults{};
    QString linkPath{};          // a symlink to the pseudo-terminal, removed again at exit
    int productsPerMinute = 0;   // the product sensor while the printer runs; 0: none
    int columnsPerSecond = 2000; // the line speed a print's duration follows
    QString printLogPath{};      // one line per print, appended
};

// The device model on a pseudo-terminal: the station opens the slave side like a serial port.
// One object serves one line; run() may be called on a thread of its own.
class PtyFrontend
{
public:
    explicit PtyFrontend(const FrontendOptions &options);
    ~PtyFrontend();
    PtyFrontend(const PtyFrontend &) = delete;
    PtyFrontend &operator=(const PtyFrontend &) = delete;

    // Creates the pseudo-terminal and the link. False, with the reason, when that fails.
    bool open(QString &error);
    // The slave's device file, for the station to open.
    const QString &devicePath() const { return slavePath_; }
    const FrontendOptions &options() const { return options_; }

    // Serves the line until stop() is called or stopFd (e.g. a signalfd) becomes readable; the
    // bytes already written arrive before it returns.
    void run(int stopFd = -1);
    // Async-signal-safe and thread-safe.
    void stop();
    // The printer's end hangs up as the count-th byte from now arrives, unanswered, as when its
    // cable is pulled during a command; the line stays dead. Thread-safe.
    void hangUpAt(int count) { hangUpCountdown_.store(count); }
    // The model itself; touch it only while run() is not running.
    Device &device() { return device_; }

    // The speed the station set on the line, in bit/s; 0 when unknown.
    int lineSpeed() const;
    // Whether the station set 8 data bits, no parity, one stop bit.
    bool lineIs8N1() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Timed {
        quint8 byte;
        Clock::time_point due;
    };

    void closeAll();
    bool makeLink(QString &error);
    void removeLink();
    void readMaster(Clock::time_point now);
    void hangUp();
    // The product line up to now: prints begin and end, each ended one goes to the print log.
    void advanceLine(Clock::time_point now);
    void logPrints();
    // What the station has written (no more once stopping) and the device's answers, up to now.
    void serve(Clock::time_point now, bool stopping);
    void deliverInput(Clock::time_point now);
    void queueOutput(Clock::time_point now);
    bool flushOutput(Clock::time_point now);
    Clock::duration byteTime() const;
    Clock::duration nextWake(Clock::time_point now) const;

    FrontendOptions options_;
    Device device_;
    int masterFd_ = -1;
    int slaveFd_ = -1; // held open so the master never sees a hang-up between station sessions
    int wakeFd_ = -1;
    QString slavePath_;
    bool linked_ = false;
    std::deque<Timed> in_;
    std::deque<Timed> out_;
    Clock::time_point lastInput_;
    Clock::time_point started_; // the product line's time counts from here
    QFile printLog_;
    Clock::time_point inputFree_;  // when the line from the station is next free (paced)
    Clock::time_point outputFree_; // when the line to the station is next free (paced)
    bool masterFailed_ = false;
    std::atomic<int> hangUpCountdown_{0};
};

} // namespace vp
