#include "batch/zip_part.h"

#include <QBuffer>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace batch
{

namespace
{

constexpr qint64 Chunk = 64 * 1024;

} // namespace

ZipParts::ZipParts(const QByteArray &bytes)
    : bytes_(bytes), buffer_(std::make_unique<QBuffer>(&bytes_)),
      zip_(std::make_unique<QuaZip>(buffer_.get()))
{
    open_ = zip_->open(QuaZip::mdUnzip);
}

ZipParts::~ZipParts()
{
    if (open_)
        zip_->close();
}

bool ZipParts::isOpen() const
{
    return open_;
}

bool ZipParts::has(const QString &name) const
{
    return open_ && zip_->getFileNameList().contains(name);
}

bool ZipParts::read(const QString &name, qint64 limit, QByteArray &out, QString &error)
{
    out.clear();
    if (!open_ || !zip_->setCurrentFile(name)) {
        error = QStringLiteral("The file has no part %1").arg(name);
        return false;
    }
    QuaZipFile part(zip_.get());
    if (!part.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("The part %1 cannot be unpacked").arg(name);
        return false;
    }
    while (true) {
        const QByteArray chunk = part.read(Chunk);
        if (chunk.isEmpty())
            break;
        if (out.size() + chunk.size() > limit) {
            error = QStringLiteral("The part %1 unpacks to more than %2 MiB: refused")
                        .arg(name)
                        .arg(limit >> 20);
            out.clear();
            return false;
        }
        out.append(chunk);
    }
    const bool broken = part.getZipError() != UNZ_OK;
    part.close();
    if (broken || part.getZipError() != UNZ_OK) {
        error = QStringLiteral("The part %1 is damaged").arg(name);
        out.clear();
        return false;
    }
    return true;
}

} // namespace batch
