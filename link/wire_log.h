#pragma once

#include <QLoggingCategory>

// Wire traces, off by default: QT_LOGGING_RULES="vuva.wire.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcWire)
