#pragma once

#include "support/memory_port.h"

#include <chrono>

// The in-memory line with a clock of its own: each byte takes its line time there and back, a
// pause costs no real time, and the device's product line follows the same clock.
class ClockedMemoryPort : public MemoryPort
{
public:
    explicit ClockedMemoryPort(vp::Device &device);

    Clock::time_point now() const override { return start_ + elapsed_; }
    void sleepUntil(Clock::time_point moment) override;
    bool writeByte(quint8 byte) override;
    bool readByte(quint8 &byte) override;

    qint64 elapsedMs() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed_).count();
    }
    // Time passes on the line without the station doing anything.
    void pass(std::chrono::microseconds span);

private:
    std::chrono::microseconds byteTime() const;

    vp::Device &device_;
    Clock::time_point start_ = Clock::now();
    std::chrono::microseconds elapsed_{0};
    std::chrono::microseconds lastByte_{0};
};
