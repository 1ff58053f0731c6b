#include "link/wire_log.h"

Q_LOGGING_CATEGORY(lcWire, "vuva.wire", QtWarningMsg)
