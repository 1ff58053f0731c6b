#pragma once

#include <QDateTime>

namespace vui
{

// The computer's clock as the station reads it; a test fixes it to a known moment.
class Clock
{
public:
    QDateTime now() const { return fixed_.isValid() ? fixed_ : QDateTime::currentDateTime(); }
    void fix(const QDateTime &moment) { fixed_ = moment; }
    void release() { fixed_ = QDateTime(); }

private:
    QDateTime fixed_;
};

} // namespace vui
