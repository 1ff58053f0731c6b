#include "vprinter/pty_frontend.h"

#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace vp
{

namespace
{

using std::chrono::duration_cast;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

int bpsOf(speed_t speed)
{
    switch (speed) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

QString failure(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// While a command is half received the device needs to hear about the quiet line promptly (a held
// echo goes out after 2 ms); otherwise an occasional look is enough.
constexpr milliseconds BusyTick{1};
constexpr milliseconds IdleTick{250};

} // namespace

PtyFrontend::PtyFrontend(const FrontendOptions &options)
    : options_(options), device_(options.kind, options.speed)
{
    device_.faults() = options.faults;
    device_.setPrinterCount(options.printers);
    device_.setProductLine(options.productsPerMinute, options.columnsPerSecond);
}

PtyFrontend::~PtyFrontend()
{
    closeAll();
}

void PtyFrontend::closeAll()
{
    removeLink();
    closeFd(slaveFd_);
    closeFd(masterFd_);
    closeFd(wakeFd_);
}

bool PtyFrontend::open(QString &error)
{
    closeAll();
    masterFd_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (masterFd_ < 0) {
        error = failure("posix_openpt");
        return false;
    }
    char name[256] = {};
    if (grantpt(masterFd_) != 0 || unlockpt(masterFd_) != 0 ||
        ptsname_r(masterFd_, name, sizeof name) != 0) {
        error = failure("pseudo-terminal setup");
        closeAll();
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    slaveFd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slaveFd_ < 0 || tcgetattr(slaveFd_, &tio) != 0) {
        error = failure(name);
        closeAll();
        return false;
    }
    // Raw from the start: a line discipline that echoed would answer for the printer.
    cfmakeraw(&tio);
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (tcsetattr(slaveFd_, TCSANOW, &tio) != 0 || wakeFd_ < 0 ||
        fcntl(masterFd_, F_SETFL, fcntl(masterFd_, F_GETFL) | O_NONBLOCK) != 0) {
        error = failure("pseudo-terminal setup");
        closeAll();
        return false;
    }
    if (!options_.printLogPath.isEmpty()) {
        printLog_.setFileName(options_.printLogPath);
        if (!printLog_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            error = QStringLiteral("%1: %2").arg(options_.printLogPath, printLog_.errorString());
            closeAll();
            return false;
        }
    }
    if (!options_.linkPath.isEmpty() && !makeLink(error)) {
        closeAll();
        return false;
    }
    return true;
}

bool PtyFrontend::makeLink(QString &error)
{
    const QByteArray path = QFile::encodeName(options_.linkPath);
    struct stat st {
    };
    if (lstat(path.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            error = QStringLiteral("%1: is a directory").arg(options_.linkPath);
            return false;
        }
        if (unlink(path.constData()) != 0) {
            error = failure(path.constData());
            return false;
        }
    }
    if (symlink(QFile::encodeName(slavePath_).constData(), path.constData()) != 0) {
        error = failure(path.constData());
        return false;
    }
    linked_ = true;
    return true;
}

void PtyFrontend::removeLink()
{
    if (!linked_)
        return;
    linked_ = false;
    // Only our own link: someone may have replaced it meanwhile.
    const QByteArray path = QFile::encodeName(options_.linkPath);
    char target[256] = {};
    const ssize_t n = readlink(path.constData(), target, sizeof target - 1);
    if (n > 0 && QFile::decodeName(QByteArray(target, int(n))) == slavePath_)
        unlink(path.constData());
}

int PtyFrontend::lineSpeed() const
{
    termios tio{};
    if (slaveFd_ < 0 || tcgetattr(slaveFd_, &tio) != 0)
        return 0;
    const int in = bpsOf(cfgetispeed(&tio));
    return in != 0 ? in : bpsOf(cfgetospeed(&tio));
}

bool PtyFrontend::lineIs8N1() const
{
    termios tio{};
    if (slaveFd_ < 0 || tcgetattr(slaveFd_, &tio) != 0)
        return false;
    return (tio.c_cflag & CSIZE) == CS8 && !(tio.c_cflag & (PARENB | CSTOPB));
}

PtyFrontend::Clock::duration PtyFrontend::byteTime() const
{
    if (!options_.pace)
        return Clock::duration::zero();
    const int bps = lineSpeed() > 0 ? lineSpeed() : options_.speed;
    return nanoseconds(10'000'000'000LL / bps);
}

void PtyFrontend::stop()
{
    const uint64_t one = 1;
    if (wakeFd_ >= 0) [[maybe_unused]]
        ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void PtyFrontend::readMaster(Clock::time_point now)
{
    quint8 buf[256];
    const ssize_t n = ::read(masterFd_, buf, sizeof buf);
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
        // Cannot happen while our own slave descriptor is open; never spin on it.
        masterFailed_ = true;
        return;
    }
    const Clock::duration step = byteTime();
    for (ssize_t i = 0; i < n; ++i) {
        if (hangUpCountdown_.load() > 0 && hangUpCountdown_.fetch_sub(1) == 1) {
            hangUp();
            return;
        }
        // A paced byte is there only once all its bits have crossed the line.
        const Clock::time_point due = std::max(now, inputFree_) + step;
        inputFree_ = due;
        in_.push_back({buf[i], due});
    }
}

void PtyFrontend::hangUp()
{
    closeFd(slaveFd_);
    closeFd(masterFd_);
    masterFailed_ = true;
    in_.clear();
    out_.clear();
}

void PtyFrontend::deliverInput(Clock::time_point now)
{
    while (!in_.empty() && in_.front().due <= now) {
        const Clock::time_point arrived = in_.front().due;
        // The line's prints as they stand when this byte arrives.
        device_.advanceTo(duration_cast<milliseconds>(arrived - started_).count());
        // The settings now, not those the byte started with: a station that changes the speed
        // or closes the port while a byte is still on the line garbles it.
        device_.receive(in_.front().byte, lineSpeed(), lineIs8N1());
        in_.pop_front();
        lastInput_ = now;
        // A device answers as the byte's last bit arrives, not when this loop woke to see it.
        queueOutput(arrived);
    }
}

void PtyFrontend::queueOutput(Clock::time_point now)
{
    if (!device_.hasOutput())
        return;
    const Clock::duration step = byteTime();
    for (char c : device_.takeOutput()) {
        const Clock::time_point due = std::max(now, outputFree_) + step;
        outputFree_ = due;
        out_.push_back({quint8(c), due});
    }
}

bool PtyFrontend::flushOutput(Clock::time_point now)
{
    QByteArray ready;
    for (const Timed &t : out_) {
        if (t.due > now)
            break;
        ready.append(char(t.byte));
    }
    if (ready.isEmpty())
        return true;
    const ssize_t n = ::write(masterFd_, ready.constData(), size_t(ready.size()));
    if (n < 0)
        return errno != EAGAIN;
    out_.erase(out_.begin(), out_.begin() + n);
    return n == ready.size();
}

PtyFrontend::Clock::duration PtyFrontend::nextWake(Clock::time_point now) const
{
    Clock::time_point wake = now + IdleTick;
    // The next quiet time at which the device decides about what it holds.
    if (!device_.settled()) {
        for (int ms : {Device::HeldEchoQuietMs, Device::CommitQuietMs, Device::CutOffQuietMs}) {
            const Clock::time_point at = lastInput_ + milliseconds(ms) + BusyTick;
            if (at > now) {
                wake = std::min(wake, at);
                break;
            }
        }
    }
    const qint64 lineEvent = device_.nextLineEventMs();
    if (lineEvent >= 0)
        wake = std::min(wake, started_ + milliseconds(lineEvent));
    if (!in_.empty())
        wake = std::min(wake, in_.front().due);
    if (!out_.empty())
        wake = std::min(wake, out_.front().due);
    return std::max(Clock::duration::zero(), wake - now);
}

void PtyFrontend::advanceLine(Clock::time_point now)
{
    device_.advanceTo(duration_cast<milliseconds>(now - started_).count());
    logPrints();
}

void PtyFrontend::logPrints()
{
    const QList<PrintedMark> printed = device_.takePrinted();
    if (!printLog_.isOpen())
        return;
    const QDateTime wall = QDateTime::currentDateTimeUtc();
    const qint64 nowMs = device_.productLine().nowMs;
    for (const PrintedMark &p : printed) {
        QByteArray line = wall.addMSecs(p.endMs - nowMs).toString(Qt::ISODateWithMs).toLatin1();
        line += '\t' + QByteArray::number(p.count);
        for (const QByteArray &text : p.texts)
            line += '\t' + text;
        printLog_.write(line + '\n');
    }
    // A test reads the log while the printer runs, and a killed printer must have written it.
    printLog_.flush();
}

void PtyFrontend::serve(Clock::time_point now, bool stopping)
{
    advanceLine(now);
    // Bytes waiting unread are no quiet line, even when this loop was late to look.
    if (!masterFailed_ && !stopping)
        readMaster(now);
    deliverInput(now);
    if (in_.empty())
        device_.idle(int(duration_cast<milliseconds>(now - lastInput_).count()));
    queueOutput(now);
}

void PtyFrontend::run(int stopFd)
{
    if (masterFd_ < 0)
        return;
    // A byte's time on the line is 174 us at 57600 bit/s: the kernel's default 50 us of timer
    // slack on each of the two waits of an echo would make the line a quarter slower than its wire.
    prctl(PR_SET_TIMERSLACK, 1UL);
    lastInput_ = Clock::now();
    started_ = lastInput_;
    // Once asked to stop, the bytes already on the line still arrive, each at its time.
    bool stopping = false;
    for (;;) {
        const Clock::time_point now = Clock::now();
        serve(now, stopping);
        const bool blocked = !flushOutput(now);
        if (stopping && in_.empty())
            break;

        pollfd fds[3] = {{masterFailed_ || stopping ? -1 : masterFd_,
                          short(POLLIN | (blocked ? POLLOUT : 0)), 0},
                         {stopping ? -1 : wakeFd_, POLLIN, 0},
                         {stopping ? -1 : stopFd, POLLIN, 0}};
        const nanoseconds wait = duration_cast<nanoseconds>(nextWake(now));
        const timespec ts{time_t(wait.count() / 1'000'000'000), long(wait.count() % 1'000'000'000)};
        const int ready = ppoll(fds, stopFd >= 0 ? 3 : 2, &ts, nullptr);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        if (fds[1].revents != 0 || (stopFd >= 0 && fds[2].revents != 0)) {
            readMaster(Clock::now()); // what the station wrote up to now is on the line
            stopping = true;
            continue;
        }
        if (fds[0].revents & POLLIN)
            readMaster(Clock::now());
        else if (fds[0].revents & (POLLHUP | POLLERR))
            masterFailed_ = true;
    }
    uint64_t drained = 0;
    [[maybe_unused]] ssize_t n = ::read(wakeFd_, &drained, sizeof drained);
}

} // namespace vp
