#pragma once

#include <QAbstractButton>
#include <QImage>
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

inline void click(QWidget &w, const char *name)
{
    child<QAbstractButton>(w, name)->click();
}

// Writes a black-and-white BMP, 1-bit unless another format is asked for; dark(x, y) with y = 0
// the top row.
QString writeBmp(const QString &path, int width, int height,
                 const std::function<bool(int x, int y)> &dark,
                 QImage::Format format = QImage::Format_Mono);
