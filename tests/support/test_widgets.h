#pragma once

#include <QAbstractButton>
#include <QByteArray>
#include <QImage>
#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <functional>

// A control of a dialog by its object name; a missing one ends the test at once.
template <typename T> T *child(QWidget &w, const char *name)
{
    T *found = w.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

inline QLineEdit *edit(QWidget &w, const char *name)
{
    return child<QLineEdit>(w, name);
}

inline void click(QWidget &w, const char *name, int times = 1)
{
    for (int i = 0; i < times; ++i)
        child<QAbstractButton>(w, name)->click();
}

using Pixels = std::function<bool(int x, int y)>; // true: dark; y = 0 is the top row

// A black-and-white picture, 1-bit unless another format is asked for.
QImage blackAndWhite(int width, int height, const Pixels &dark,
                     QImage::Format format = QImage::Format_Mono);

// Writes blackAndWhite() as a BMP file.
QString writeBmp(const QString &path, int width, int height, const Pixels &dark,
                 QImage::Format format = QImage::Format_Mono);

// Writes the bytes as they are, e.g. a file no program would write.
QString writeFile(const QString &path, const QByteArray &bytes);
