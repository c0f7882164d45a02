// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <utility>

namespace veltaro {

// The time that only moves forward: std::chrono::steady_clock::now in the
// programs, a clock the test moves in tests.
using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

// The driver calls of one timer tick. The window has one thread, so a
// call that hangs in the driver holds up the window with it: once one
// call of the tick has taken longer than kSlowCall, the tick makes no
// further call, and what it did not read waits for a later tick.
class CallBudget {
public:
    static constexpr std::chrono::milliseconds kSlowCall{50};

    explicit CallBudget(SteadyClock clock)
        : m_clock(std::move(clock))
    {
    }

    // A new tick: every call is allowed again.
    void renew() { m_spent = false; }
    // True once a call of this tick was slow: make no further call.
    bool spent() const { return m_spent; }

    // Runs `call` and notes whether it was slow; its result unchanged.
    template <typename Call> decltype(auto) timed(Call&& call)
    {
        const auto started = m_clock();
        struct Stopwatch {
            CallBudget& budget;
            std::chrono::steady_clock::time_point started;
            ~Stopwatch() { budget.m_spent = budget.m_spent || budget.m_clock() - started > kSlowCall; }
        } stopwatch{*this, started};
        return std::forward<Call>(call)();
    }

private:
    SteadyClock m_clock;
    bool m_spent = false;
};

}  // namespace veltaro
