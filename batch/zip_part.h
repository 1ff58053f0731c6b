#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QBuffer;
class QuaZip;

namespace batch
{

// A spreadsheet archive held in memory, whose parts are unpacked one at a time and never beyond
// a bound: the size an archive announces is not trusted.
class ZipParts
{
public:
    explicit ZipParts(const QByteArray &bytes);
    ~ZipParts();

    bool isOpen() const;
    bool has(const QString &name) const;
    // False with error set when the part is missing, broken or larger than limit bytes.
    bool read(const QString &name, qint64 limit, QByteArray &out, QString &error);

private:
    QByteArray bytes_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QuaZip> zip_;
    bool open_ = false;
};

} // namespace batch
