#include "graphics/model/logo_name.h"

#include "link/logo_buffer.h"

namespace vgfx
{

namespace
{

constexpr int NameLength = vlink::LogoBuffer::NameLength;

// Never leaves half of a surrogate pair behind.
QString firstCharacters(const QString &text)
{
    if (text.size() <= NameLength)
        return text;
    const int keep = text.at(NameLength - 1).isHighSurrogate() ? NameLength - 1 : NameLength;
    return text.left(keep);
}

} // namespace

NameEdit filterLogoName(const QString &text)
{
    QString name = firstCharacters(text);
    name.removeIf([](QChar c) { return c.unicode() < u'0'; });
    return {name, int(name.size())};
}

NameEdit cutLogoName(const QString &text, int caret)
{
    if (text.size() <= NameLength)
        return {text, caret};
    const QString name = firstCharacters(text);
    return {name, int(name.size())};
}

} // namespace vgfx
