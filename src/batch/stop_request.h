#pragma once
// The request to stop a batch run (F6 in the window, Ctrl+C on the terminal). Set from any
// thread or a signal handler; the run reads it at the points where stopping leaves the
// document consistent.

#include <atomic>

namespace tavricat {

class StopRequest {
public:
    void request() { m_requested.store(true, std::memory_order_relaxed); }
    void clear() { m_requested.store(false, std::memory_order_relaxed); }
    bool requested() const { return m_requested.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_requested{false};
};

}  // namespace tavricat
