#pragma once

#include <QEvent>
#include <optional>

class QObject;

namespace vui
{

// The named messages by which the windows ask the main window to open, close or reopen one
// another. The first nineteen are the main window's own, in the order it registers them.
enum class Message {
    ImageCompressOK,
    DPFormClose,
    DPImageCompressOK,
    ImageCompressOKMX,
    ImageCompressOKMXwait,
    ImageNotLoadOK,
    DPImageNotLoadOK,
    DeviceExistCheck,
    PortNotInit,
    ShowStamp,
    ReadError,
    CloseShowStamp,
    LogoReadOK,
    LogoReadOKSmall,
    ReadClpBoard_,
    MultiLoadOK,
    DPMultiLoadOK,
    MultiLoadClose,
    LogoReadOKSmallnotDP,
    // Posted by the logo read progress window when it is activated.
    LogoListRequest,
    // Registered by their senders when they post.
    SendToPrinter,
    PrinterFound,
};
inline constexpr int MessageCount = int(Message::PrinterFound) + 1;

const char *messageName(Message message);

// Registers every name the main window knows, in order. Later calls change nothing.
void registerMessages();
// The event type of a message; registers the name on its first use. A name is registered once per
// process, as a window message is registered once per system.
QEvent::Type messageType(Message message);
// Which message an event type carries, if any is registered under it.
std::optional<Message> messageOf(QEvent::Type type);

// A message as it travels: its type alone is the information; both parameters are 0.
class MessageEvent : public QEvent
{
public:
    explicit MessageEvent(Message message) : QEvent(messageType(message)) {}
    qintptr wParam() const { return 0; }
    qintptr lParam() const { return 0; }
};

// Handled before the call returns.
void sendMessage(QObject *target, Message message);
// Queued: handled once the poster's handler has returned.
void postMessage(QObject *target, Message message);

} // namespace vui
