#include "ui/file_accept_proxy.h"

#include <QFileSystemModel>

namespace vui
{

bool FileAcceptProxy::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (!files || !accept_)
        return true;
    const QModelIndex index = files->index(sourceRow, 0, sourceParent);
    if (files->isDir(index))
        return true;
    return accept_(files->filePath(index));
}

} // namespace vui
