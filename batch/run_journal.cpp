#include "batch/run_journal.h"

namespace batch
{

QString stateName(RecordState state)
{
    switch (state) {
    case RecordState::Loaded:
        return QStringLiteral("loaded");
    case RecordState::Printed:
        return QStringLiteral("printed");
    case RecordState::Failed:
        return QStringLiteral("failed");
    case RecordState::Skipped:
        return QStringLiteral("skipped");
    }
    return {};
}

} // namespace batch
