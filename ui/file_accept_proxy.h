#pragma once

#include <QSortFilterProxyModel>
#include <functional>

namespace vui
{

// Hides the files a predicate refuses from a file dialog's list; folders always stay.
class FileAcceptProxy : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using Accept = std::function<bool(const QString &path)>;
    explicit FileAcceptProxy(Accept accept, QObject *parent = nullptr)
        : QSortFilterProxyModel(parent), accept_(std::move(accept))
    {
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    Accept accept_;
};

} // namespace vui
