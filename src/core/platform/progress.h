#pragma once
// Long work away from the window: it says how far it got, and is asked to
// stop. The work's thread writes, the window's reads; a stop is only asked,
// and the work looks at it between steps.
#include <atomic>
#include <functional>

namespace tarn {

class Progress {
public:
    // `done` of `total` steps (a total of 0: no measure yet). False once a
    // stop was asked: the work then returns soon and its result is dropped.
    bool step(long long done, long long total) {
        total_.store(total, std::memory_order_relaxed);
        done_.store(done, std::memory_order_relaxed);
        return !stopped();
    }
    bool stopped() const { return stop_.load(std::memory_order_relaxed); }
    void stop() { stop_.store(true, std::memory_order_relaxed); }
    long long done() const { return done_.load(std::memory_order_relaxed); }
    long long total() const { return total_.load(std::memory_order_relaxed); }

private:
    std::atomic<long long> done_{0};
    std::atomic<long long> total_{0};
    std::atomic<bool> stop_{false};
};

// The work touches nothing the window shows or edits: it reads its own
// copies and leaves its result where the command picks it up afterwards.
using ProgressWork = std::function<void(Progress&)>;

}  // namespace tarn
