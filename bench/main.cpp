// vuva_bench [NAME...]: runs the cases whose names contain one of the words given (all without
// any) and exits 1 when one missed its goal.

#include "bench/bench.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    // The clipboard and unplug cases draw text and drive windows; nothing is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList wanted = app.arguments().mid(1);
    int missed = 0;
    for (const bench::Case &c : bench::allCases()) {
        const bool chosen =
            wanted.isEmpty() || std::any_of(wanted.begin(), wanted.end(),
                                            [&](const QString &w) { return c.name.contains(w); });
        if (!chosen)
            continue;
        std::printf("== %s\n", qPrintable(c.name));
        std::fflush(stdout);
        const bool met = c.run();
        std::printf("   goal %s\n", met ? "met" : "MISSED");
        std::fflush(stdout);
        missed += met ? 0 : 1;
    }
    return missed == 0 ? 0 : 1;
}
