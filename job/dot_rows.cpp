#include "job/dot_rows.h"

#include <QString>

namespace vjob
{

QJsonArray dotRows(int width, int bands, const DotAt &dot)
{
    QJsonArray rows;
    for (int h = bands * 8 - 1; h >= 0; --h) {
        QString line(width, QLatin1Char('.'));
        for (int c = 0; c < width; ++c)
            if (dot(c, h))
                line[c] = QLatin1Char('#');
        rows.append(line);
    }
    return rows;
}

bool readDotRows(const QJsonValue &value, int width, int bands, const SetDot &set)
{
    const QJsonArray rows = value.toArray();
    if (!value.isArray() || rows.size() != bands * 8)
        return false;
    for (int i = 0; i < rows.size(); ++i) {
        const QString line = rows[i].toString();
        if (!rows[i].isString() || line.size() != width)
            return false;
        const int height = bands * 8 - 1 - i;
        for (int c = 0; c < width; ++c) {
            if (line[c] == QLatin1Char('#'))
                set(c, height);
            else if (line[c] != QLatin1Char('.'))
                return false;
        }
    }
    return true;
}

} // namespace vjob
