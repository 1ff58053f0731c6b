#include "ui/messages.h"

#include <QCoreApplication>
#include <array>

namespace vui
{

namespace
{

constexpr std::array<const char *, MessageCount> Names = {
    "ImageCompressOK",
    "DPFormClose",
    "DPImageCompressOK",
    "ImageCompressOKMX",
    "ImageCompressOKMXwait",
    "ImageNotLoadOK",
    "DPImageNotLoadOK",
    "DeviceExistCheck",
    "PortNotInit",
    "ShowStamp",
    "ReadError",
    "CloseShowStamp",
    "LogoReadOK",
    "LogoReadOKSmall",
    "ReadClpBoard_",
    "MultiLoadOK",
    "DPMultiLoadOK",
    "MultiLoadClose",
    "LogoReadOKSmallnotDP",
    "LogoListRequest",
    "SendToPrinter",
    "PrinterFound",
};

// Qt's event types are a process-wide resource that cannot be given back, so the table that
// names them is process-wide too.
std::array<int, MessageCount> &types()
{
    static std::array<int, MessageCount> table{};
    return table;
}

} // namespace

const char *messageName(Message message)
{
    return Names[std::size_t(message)];
}

QEvent::Type messageType(Message message)
{
    int &type = types()[std::size_t(message)];
    if (type == 0)
        type = QEvent::registerEventType();
    return QEvent::Type(type);
}

void registerMessages()
{
    for (int i = 0; i <= int(Message::LogoListRequest); ++i)
        messageType(Message(i));
}

std::optional<Message> messageOf(QEvent::Type type)
{
    const auto &table = types();
    for (int i = 0; i < MessageCount; ++i)
        if (table[std::size_t(i)] != 0 && table[std::size_t(i)] == int(type))
            return Message(i);
    return std::nullopt;
}

void sendMessage(QObject *target, Message message)
{
    if (!target)
        return;
    MessageEvent event(message);
    QCoreApplication::sendEvent(target, &event);
}

void postMessage(QObject *target, Message message)
{
    if (target)
        QCoreApplication::postEvent(target, new MessageEvent(message));
}

} // namespace vui
