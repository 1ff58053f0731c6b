#include "link/mark_field_checks.h"

#include "link/exchange.h"

#include <QRegularExpression>

namespace vlink
{

namespace
{

constexpr int MarkRows = 4;
constexpr int MarkColumns = 8;

bool matches(const QString &text, const char *pattern)
{
    return QRegularExpression(QLatin1String(pattern)).match(text).hasMatch();
}

FieldRefusal quiet(const QString &text)
{
    return {text, false, false};
}

FieldRefusal beeping(const QString &text)
{
    return {text, false, true};
}

FieldRefusal requiredTextRefusal(const QString &entered, const QString &label)
{
    return entered.isEmpty() ? quiet(QStringLiteral("%1 must not be empty").arg(label))
                             : FieldRefusal{};
}

} // namespace

FieldRefusal timeFormatRefusal(const QString &entered)
{
    return requiredTextRefusal(entered, QStringLiteral("DateTimeFormat"));
}

FieldRefusal postDateFormatRefusal(const QString &entered)
{
    return requiredTextRefusal(entered, QStringLiteral("Date Format"));
}

FieldRefusal counterValueRefusal(const QString &entered, const CodePage &page)
{
    const QString label = QStringLiteral("Counter Initial Value");
    if (FieldRefusal empty = requiredTextRefusal(entered, label); empty.refused())
        return empty;
    if (!page.holds(entered))
        return beeping(label + QStringLiteral(" holds a character the code page lacks"));
    return {};
}

// At most three digits: the printer pads the period to three, a longer text would run over.
FieldRefusal autoRunPeriodRefusal(const QString &entered, QByteArray &sent)
{
    const QString period = QString(entered).remove(QLatin1Char(' '));
    if (!matches(period, "^[0-9]{1,3}$") || period.toInt() > 255)
        return beeping(QString::fromLatin1(AutoRunPeriodLabel));
    sent = period.toLatin1();
    return {};
}

// A sign would go out inside the four characters.
FieldRefusal postDateDaysRefusal(const QString &entered, QByteArray &sent)
{
    const QString days = entered.trimmed();
    if (!matches(days, "^[0-9]{1,4}$"))
        return quiet(QStringLiteral("Post Day Quantaty [XXXX] must be 1 to 4 digits"));
    sent = days.rightJustified(4, QLatin1Char('0')).toLatin1();
    return {};
}

FieldRefusal fragmentTypedRefusal(const QString &typed)
{
    if (typed.size() > FragmentTypedMax)
        return {QStringLiteral("Fragment text length <=37 symbols"), true, true};
    return {};
}

FieldRefusal fragmentBytesRefusal(const QByteArray &encoded)
{
    if (TrimText(encoded).size() > FragmentTrimmedMax)
        return {QStringLiteral("Maximum Fragment Length=%1").arg(FragmentTrimmedMax), true, false};
    return {};
}

struct SpecField {
    const char *label;
    int width;
};

constexpr SpecField SpecFields[] = {
    {"Counter Initial Value", 8},
    {"Counter Finish Value", 8},
    {"Counter Step", 4},
    {"Counter Discret Step", 4},
};

// A sign would go out among the padding zeros, as in "000000-5".
FieldRefusal specNumberRefusal(SpecNumber which, const QString &entered, QString &kept)
{
    const QString label = QString::fromLatin1(SpecFields[int(which)].label);
    const int width = SpecFields[int(which)].width;
    const QString text = entered.trimmed();
    kept = entered;
    if (!text.isEmpty()) {
        bool number = false;
        const int value = text.toInt(&number);
        if (!number)
            return quiet(label + QStringLiteral(" must be a whole number"));
        if (text.front() == u'-' || text.front() == u'+')
            return beeping(label + QStringLiteral(" must have no sign"));
        if (value == 0)
            kept.clear();
    }
    if (kept.trimmed().size() > width)
        return quiet(QStringLiteral("%1 must be at most %2 digits").arg(label).arg(width));
    return {};
}

FieldRefusal fragmentNumberRefusal(const QString &entered)
{
    const QString below = QStringLiteral("FragmentNumber must be >11 ");
    const QString text = entered.trimmed();
    bool number = false;
    const int value = text.toInt(&number);
    if (!number)
        return {below, true, false};
    if (text.size() > 2 || value < 11)
        return quiet(below);
    // Row digit then column digit, both on the mark's grid.
    if (value / 10 > MarkRows || value % 10 < 1 || value % 10 > MarkColumns)
        return beeping(QStringLiteral("FragmentNumber must be a row 1..%1 and a column 1..%2")
                           .arg(MarkRows)
                           .arg(MarkColumns));
    return {};
}

// One character goes out: a sign or a second digit would not be a count.
FieldRefusal groupCountRefusal(const QString &entered)
{
    const QString group = entered.trimmed();
    if (!group.isEmpty() && !matches(group, "^[0-8]$"))
        return beeping(QStringLiteral("Printed Mark Quantaty must be 0..%1").arg(GroupCountMax));
    return {};
}

} // namespace vlink
