#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace vp
{

struct MarkState;

// The expanded counter and the group count the special-function script sets up, as the printer
// runs them: the counter's cell shows the value; after every group of marks the value moves on by
// the step once every discrete-step groups, and past the finish it starts again at the initial
// value.
struct SpecialCounter {
    int row = 0;
    int column = 0;
    qint64 initial = 0;
    qint64 finish = 0;
    qint64 step = 0;
    qint64 discrete = 0;
    int group = 0; // marks printed as one group; 0 or none: each mark is its own group

    // The script in the layout the station writes: "Q" row column "N" 8 digits "E" 8 "S" 4 "P" 4,
    // then maybe "G" and a digit. Nothing without a counter.
    static std::optional<SpecialCounter> fromScript(const QByteArray &script);
    // The group digit of a script, with or without a counter before it.
    static int groupOf(const QByteArray &script);
};

// Where the run stands: the value the counter's cell shows and how far the group and the
// discrete step have got.
struct SpecialRun {
    qint64 value = 0;
    int marksInGroup = 0;
    qint64 groupsAtValue = 0;
};

// A new script starts the counter at its initial value.
void startSpecialRun(MarkState &mark);
// One mark was printed.
void specialMarkPrinted(MarkState &mark);

} // namespace vp
