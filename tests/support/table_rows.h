#pragma once

#include <QTest>
#include <cstddef>

// Runs check(row) for each row of a table of structs with a `name`; the first row whose checks
// fail is named after the failure and ends the test function.
template <typename Row, std::size_t N, typename Check>
void forEachRow(const Row (&rows)[N], Check check)
{
    for (const Row &row : rows) {
        check(row);
        if (QTest::currentTestFailed()) {
            qWarning("in row \"%s\"", row.name);
            return;
        }
    }
}
