#include "batch/xml_part.h"

namespace batch
{

QStringView attribute(const QXmlStreamAttributes &attributes, QStringView name)
{
    for (const QXmlStreamAttribute &a : attributes)
        if (a.name() == name)
            return a.value();
    return {};
}

QString elementText(QXmlStreamReader &xml, QStringView textElement, QStringView skip)
{
    QString text;
    int depth = 1;
    int textDepth = 0; // inside how many text elements
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (xml.name() == skip) {
                xml.skipCurrentElement();
                break;
            }
            ++depth;
            textDepth += xml.name() == textElement;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            textDepth -= xml.name() == textElement;
            break;
        case QXmlStreamReader::Characters:
            if (textDepth > 0)
                text += xml.text();
            break;
        default:
            break;
        }
    }
    return text;
}

QString xmlError(const QString &part, const QXmlStreamReader &xml)
{
    return QStringLiteral("The part %1 is damaged (line %2: %3)")
        .arg(part)
        .arg(xml.lineNumber())
        .arg(xml.errorString());
}

} // namespace batch
