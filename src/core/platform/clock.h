#pragma once
// The injectable clock. Everything derived from "now" (the selection window's
// time base, the run's time stamp, the "Created on" date) asks a Clock, so
// runs and tests are reproducible (restash-cli --now SECONDS).
#include <cstdint>

namespace restash {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since 1 January 1970 UTC.
    virtual std::int64_t Now() const = 0;
};

class SystemClock final : public Clock {
public:
    std::int64_t Now() const override;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(std::int64_t seconds) : seconds_(seconds) {}
    std::int64_t Now() const override { return seconds_; }
    void Set(std::int64_t seconds) { seconds_ = seconds; }

private:
    std::int64_t seconds_;
};

// Seconds east of UTC of the local time zone at the moment utc (TZ rules
// through localtime_r): local time = utc + LocalOffset(utc).
std::int64_t LocalOffset(std::int64_t utc);

}  // namespace restash
