#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>

namespace vp
{

// Thrown by Wire when a script needs a byte that has not arrived yet.
struct NeedMore {
};

// A deviation of the station from the exchange: at is the index of the received byte where it
// showed (the one that should have come, when a byte is missing).
struct ProtocolError {
    qint64 at = 0;
    QString what;
};

// One command's view of the line. A command is a script that runs from its first byte every time
// another byte arrives (a replay), so it follows the station's own command step by step, seen from
// the device: sb() for a byte the station sends with echo (its send()), bare() for one sent
// without (its bare()), send() for reply bytes the station reads (its read()), rb() for a byte the
// station receives and echoes back (its receive()). Output already sent by an earlier replay is not
// sent again. A script changes the device's state only after its last read from the wire.
class Wire
{
public:
    // echoFault maps the global index of a received byte to the echo actually sent (or -1: none).
    using EchoFault = std::function<int(qint64 index, quint8 byte)>;

    // quiet: the line has been quiet long enough that a byte the station still owes will not
    // come. errors collects what this run of the script found.
    Wire(const QByteArray &in, qint64 inBase, int alreadySent, QByteArray &out, EchoFault fault,
         bool answers, bool quiet, QList<ProtocolError> &errors)
        : in_(in), base_(inBase), alreadySent_(alreadySent), out_(out), fault_(std::move(fault)),
          answers_(answers), quiet_(quiet), errors_(errors)
    {
    }

    // A lone first byte whose echo waits until the device knows whether a bare frame follows
    // (the byte after it arrived, or the line went quiet: released).
    quint8 heldSb(bool released, bool &frame);
    void setAnswers(bool answers) { answers_ = answers; }
    bool answers() const { return answers_; }
    quint8 sb();
    // sb() of a byte that must have a given value. Any other byte is a protocol error and is left,
    // unechoed, to start the next command.
    bool sb(quint8 expected);
    // What the station owes for a byte the device sent: its echo (taken without echo) or the
    // byte that closes the exchange (echoBack: echoed like any sb()). A device that sent nothing
    // is owed nothing. A missing or different byte is a protocol error, and a different one is
    // left to start the next command.
    bool owed(quint8 byte, const char *what, bool echoBack = false);
    // Takes the next byte when it is this one; false, taking nothing, when another came or the
    // line stayed quiet.
    bool takeIf(quint8 byte);
    void error(const QString &what);
    quint8 bare();
    // The next byte without consuming it.
    quint8 peek();
    bool atEnd() const { return pos_ >= in_.size(); }
    void send(quint8 byte);
    void send(const QByteArray &bytes);
    void rb(quint8 byte);

    int consumed() const { return pos_; }
    int produced() const { return produced_; }

private:
    quint8 take();
    void produce(quint8 byte, bool visible = true);

    const QByteArray &in_;
    qint64 base_;
    int alreadySent_;
    QByteArray &out_;
    EchoFault fault_;
    bool answers_;
    bool quiet_;
    QList<ProtocolError> &errors_;
    int pos_ = 0;
    int produced_ = 0;
};

} // namespace vp
