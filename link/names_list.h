#pragma once

#include "link/exchange.h"

#include <QByteArray>
#include <QList>
#include <QString>

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

// A store lists at most this many logos.
inline constexpr int MaxNamesCount = 256;
// The count byte cannot hold 256 or more: entries that keep arriving after those the count
// announced belong to the list, until the line is quiet this long.
inline constexpr int NamesRunOnQuietMs = 20;
// Bytes taken as a running-on list before the line is given up as babbling.
inline constexpr int NamesRunOnLimit = 8 * MaxNamesCount * NamesEntrySize;

// How a names-list read ended. A refused list leaves the names untouched.
enum class NamesRead {
    Ok,
    Failed,    // an echo or a reply byte missing, or a list that ends within an entry
    OverCount, // more than MaxNamesCount entries
};
// "LogoNamesList Read Error" or "LogoNamesList Count>256 "; empty for Ok.
QString namesFailureText(NamesRead result);

// The reply after the request went out: the pause, the count and the entries.
NamesRead ReceiveLogoNames(Sequence &seq, LogoNames &names);

} // namespace vlink
