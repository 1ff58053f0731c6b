#pragma once

#include <QString>
#include <QXmlStreamReader>

namespace batch
{

// An attribute by its local name: the prefixes a document binds are its own choice.
QStringView attribute(const QXmlStreamAttributes &attributes, QStringView name);

// The text of the textElement elements inside the current element, except inside those named
// skip: what lies between them is the file's layout, not the cell's.
QString elementText(QXmlStreamReader &xml, QStringView textElement, QStringView skip);

// A parse error of the named part as the operator reads it.
QString xmlError(const QString &part, const QXmlStreamReader &xml);

} // namespace batch
