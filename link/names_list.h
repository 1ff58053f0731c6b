#pragma once

#include "link/exchange.h"

#include <QByteArray>
#include <QList>

namespace vlink
{

// A names-list reply: one count byte, then ten characters per logo: its number (high byte
// first) and its name, padded with spaces.
inline constexpr int NamesEntrySize = 10;
inline constexpr int NamesReplyPauseMs = 100;

struct LogoName {
    int number = 0;
    QByteArray name;
    bool operator==(const LogoName &) const = default;
};
using LogoNames = QList<LogoName>;

// Entries of ten characters each; an incomplete tail is not an entry.
LogoNames ParseLogoNames(const QByteArray &text);

// The reply after the request went out: the pause, the count and the entries.
Sequence &ReceiveLogoNames(Sequence &seq, LogoNames &names);

} // namespace vlink
