#include "link/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace vlink
{

namespace
{

constexpr char Unmappable = '?';
// What QStringEncoder writes for a character its code page cannot hold.
constexpr char EncoderSubstitute = 0x1A;

// Windows-1251 bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order, the rest is ASCII.
// 0x98 has no character of its own: it stays U+0098 both ways, as Windows and ICU keep it.
constexpr std::array<char16_t, 64> Upper1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char encode1251(char32_t cp)
{
    if (cp < 0x80)
        return char(cp);
    if (cp >= 0x0410 && cp <= 0x044F)
        return char(0xC0 + (cp - 0x0410));
    for (std::size_t i = 0; i < Upper1251.size(); ++i)
        if (Upper1251[i] == cp)
            return char(0x80 + i);
    return Unmappable;
}

char16_t decode1251(quint8 byte)
{
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return char16_t(0x0410 + (byte - 0xC0));
    return Upper1251[byte - 0x80];
}

bool isDefaultName(const QString &name)
{
    return name.compare(QLatin1String(CodePage::DefaultName), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("cp1251"), Qt::CaseInsensitive) == 0;
}

bool qtKnows(const QString &name)
{
    return QStringEncoder(name.toLatin1().constData()).isValid();
}

// One code point through Qt's encoder: anything but exactly one real byte is unmappable.
char encodeOne(QStringEncoder &encoder, char32_t cp)
{
    const QString one = QString::fromUcs4(&cp, 1);
    const QByteArray out = encoder.encode(one);
    if (out.size() != 1 || (out[0] == EncoderSubstitute && cp != 0x1A))
        return Unmappable;
    return out[0];
}

} // namespace

CodePage::CodePage(const QString &name)
{
    name_ = name.trimmed();
    if (name_.isEmpty() || !qtKnows(name_))
        name_ = QString::fromLatin1(DefaultName);
    ownTable_ = isDefaultName(name_) && !qtKnows(name_);
}

CodePage CodePage::fromSettings(const SettingsFile &settings)
{
    return CodePage(settings.value(QLatin1String(PortParamsSection), QLatin1String(SettingsKey)));
}

QByteArray CodePage::encode(QStringView text) const
{
    if (ownTable_)
        return encodeWindows1251(text);
    QStringEncoder encoder(name_.toLatin1().constData());
    QByteArray out;
    for (char32_t cp : text.toUcs4())
        out.append(encodeOne(encoder, cp));
    return out;
}

QString CodePage::decode(const QByteArray &bytes) const
{
    if (ownTable_)
        return decodeWindows1251(bytes);
    QStringDecoder decoder(name_.toLatin1().constData());
    return decoder.decode(bytes);
}

bool CodePage::holds(QStringView text) const
{
    for (char32_t cp : text.toUcs4())
        if (cp != char32_t(Unmappable) &&
            encode(QString::fromUcs4(&cp, 1)) == QByteArray(1, Unmappable))
            return false;
    return true;
}

QByteArray encodeWindows1251(QStringView text)
{
    QByteArray out;
    for (char32_t cp : text.toUcs4())
        out.append(encode1251(cp));
    return out;
}

QString decodeWindows1251(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.append(QChar(decode1251(quint8(c))));
    return out;
}

} // namespace vlink
