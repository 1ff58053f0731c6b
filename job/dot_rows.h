#pragma once

#include <QJsonArray>
#include <QtGlobal>
#include <functional>

namespace vjob
{

// Dots as text lines that diff well: one line per dot row, the top row first, "#" a dot and "."
// none. Column c, height h (0 the lowest) of a picture bands x 8 dots high.
using DotAt = std::function<bool(int column, int height)>;
using SetDot = std::function<void(int column, int height)>;

QJsonArray dotRows(int width, int bands, const DotAt &dot);
// False when there are not bands x 8 lines of width characters, each "#" or ".".
bool readDotRows(const QJsonValue &rows, int width, int bands, const SetDot &set);

} // namespace vjob
