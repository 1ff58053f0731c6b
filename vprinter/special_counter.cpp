#include "vprinter/special_counter.h"

#include "vprinter/mark_state.h"

namespace vp
{

namespace
{

// Each value's place in the script, counted from its "Q".
struct Place {
    int at;
    int width;
};
constexpr Place Initial{4, 8};
constexpr Place Finish{13, 8};
constexpr Place Step{22, 4};
constexpr Place Discrete{27, 4};
constexpr int CounterLength = 31;

std::optional<qint64> number(const QByteArray &script, Place place)
{
    bool ok = false;
    const qint64 value = script.mid(place.at, place.width).toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

MarkFragment *counterCell(MarkState &mark, const SpecialCounter &counter)
{
    MarkFragment *cell = mark.cell(counter.row, counter.column);
    return cell && cell->kind == MarkFragment::SpecFunc ? cell : nullptr;
}

void show(MarkState &mark, const SpecialCounter &counter)
{
    if (MarkFragment *cell = counterCell(mark, counter))
        cell->text = QByteArray::number(mark.specialRun.value);
}

} // namespace

std::optional<SpecialCounter> SpecialCounter::fromScript(const QByteArray &script)
{
    if (!script.startsWith('Q') || script.size() < CounterLength)
        return std::nullopt;
    const auto n = number(script, Initial);
    const auto e = number(script, Finish);
    const auto s = number(script, Step);
    const auto p = number(script, Discrete);
    if (!n || !e || !s || !p)
        return std::nullopt;
    return SpecialCounter{script[1] - '0', script[2] - '0', *n, *e, *s, *p, groupOf(script)};
}

int SpecialCounter::groupOf(const QByteArray &script)
{
    const qsizetype g = script.indexOf('G');
    if (g < 0 || g + 1 >= script.size())
        return 0;
    return qMax(0, script[g + 1] - '0');
}

void startSpecialRun(MarkState &mark)
{
    const auto counter = SpecialCounter::fromScript(mark.script);
    mark.specialRun = SpecialRun{counter ? counter->initial : 0, 0, 0};
    if (counter)
        show(mark, *counter);
}

void specialMarkPrinted(MarkState &mark)
{
    SpecialRun &run = mark.specialRun;
    if (++run.marksInGroup < qMax(1, SpecialCounter::groupOf(mark.script)))
        return;
    run.marksInGroup = 0;
    const auto counter = SpecialCounter::fromScript(mark.script);
    if (!counter)
        return;
    if (++run.groupsAtValue < qMax<qint64>(1, counter->discrete))
        return;
    run.groupsAtValue = 0;
    const qint64 low = qMin(counter->initial, counter->finish);
    const qint64 high = qMax(counter->initial, counter->finish);
    // Counting from the initial value toward the finish, whichever way that is.
    const qint64 step = counter->initial <= counter->finish ? counter->step : -counter->step;
    run.value += step;
    if (run.value < low || run.value > high)
        run.value = counter->initial;
    show(mark, *counter);
}

} // namespace vp
