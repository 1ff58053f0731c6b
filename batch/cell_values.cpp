#include "batch/cell_values.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>
#include <cmath>

namespace batch
{

namespace
{

constexpr double IntegerBound = 1e15;
constexpr int SecondsPerDay = 86400;

// The format code without its quoted literals, escaped characters and bracketed parts.
QString formatLetters(QStringView code)
{
    QString letters;
    bool quoted = false;
    int bracket = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'\\' || c == u'_' || c == u'*')
            ++i;
        else if (c == u'[')
            ++bracket;
        else if (c == u']')
            bracket = std::max(bracket - 1, 0);
        else if (bracket == 0)
            letters += c.toLower();
    }
    return letters;
}

} // namespace

QString numberText(QStringView stored)
{
    bool ok = false;
    const double value = stored.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return stored.toString();
    if (value == std::floor(value) && std::fabs(value) < IntegerBound)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

NumberShape shapeOfFormatCode(QStringView code)
{
    // Only the first section decides: "0;[Red]-0" is a number like "0".
    const QString letters = formatLetters(code).section(u';', 0, 0);
    if (letters.contains(QLatin1String("general")))
        return NumberShape::Number;
    const bool date = letters.contains(u'y') || letters.contains(u'd');
    const bool time = letters.contains(u'h') || letters.contains(u's');
    if (date && time)
        return NumberShape::DateTime;
    if (date)
        return NumberShape::Date;
    if (time)
        return NumberShape::Time;
    return letters.contains(u'm') ? NumberShape::Date : NumberShape::Number;
}

NumberShape shapeOfBuiltInFormat(int id)
{
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) ||
        (id >= 50 && id <= 58))
        return NumberShape::Date;
    if ((id >= 18 && id <= 21) || (id >= 32 && id <= 33) || (id >= 45 && id <= 47))
        return NumberShape::Time;
    if (id == 22)
        return NumberShape::DateTime;
    return NumberShape::Number;
}

QString serialDateText(QStringView stored, NumberShape shape, bool date1904)
{
    bool ok = false;
    const double serial = stored.trimmed().toDouble(&ok);
    // Beyond the year 9999 or before the epoch a spreadsheet shows no date either.
    if (!ok || !std::isfinite(serial) || serial < 0 || serial > 2958465 ||
        shape == NumberShape::Number)
        return numberText(stored);
    qint64 seconds = std::llround(serial * SecondsPerDay);
    qint64 days = seconds / SecondsPerDay;
    seconds %= SecondsPerDay;
    // Excel counts a 29 February 1900 that never was: serials before it start a day later.
    const QDate epoch =
        date1904 ? QDate(1904, 1, 1) : (days < 61 ? QDate(1899, 12, 31) : QDate(1899, 12, 30));
    const QString date = epoch.addDays(days).toString(u"yyyy-MM-dd");
    const QString time = QTime(0, 0).addSecs(int(seconds)).toString(u"HH:mm:ss");
    switch (shape) {
    case NumberShape::Date:
        return date;
    case NumberShape::Time:
        return time;
    default:
        return date + u' ' + time;
    }
}

QString odfDateText(QStringView value)
{
    QString text = value.toString();
    text.replace(u'T', u' ');
    const qsizetype fraction = text.indexOf(u'.');
    return fraction < 0 ? text : text.left(fraction);
}

QString odfTimeText(QStringView value)
{
    static const QRegularExpression duration(
        QStringLiteral("^-?PT?(?:(\\d+)H)?(?:(\\d+)M)?(?:(\\d+)(?:[.,]\\d+)?S)?$"));
    const QRegularExpressionMatch m = duration.match(value);
    if (!m.hasMatch())
        return value.toString();
    return QStringLiteral("%1:%2:%3")
        .arg(m.captured(1).toInt(), 2, 10, QLatin1Char('0'))
        .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'))
        .arg(m.captured(3).toInt(), 2, 10, QLatin1Char('0'));
}

} // namespace batch
