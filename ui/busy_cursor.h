#pragma once

namespace vui
{

// The busy cursor over every window for as long as it lives, around an exchange that may hold
// the one thread for longer than a blink. Nested guards stack.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// The normal cursor while a box or dialog waits for the operator in the middle of an exchange;
// the busy cursor comes back when it closes. Does nothing while no busy cursor is up.
class NormalCursor
{
public:
    NormalCursor();
    ~NormalCursor();
    NormalCursor(const NormalCursor &) = delete;
    NormalCursor &operator=(const NormalCursor &) = delete;

private:
    bool pushed_ = false;
};

} // namespace vui
