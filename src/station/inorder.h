#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace veldrune {

// Runs work(i) for i = 0, 1, ... count - 1 on `threads` threads and hands each result to
// `take` in the order of i, as soon as it and every one before it are done: the results come
// out as one thread would give them. At most twice as many results as threads wait to be
// taken, so that memory does not grow with the count. When `take` returns false, no further
// work starts. The work of each i must share nothing that it writes.
template <typename Result>
void InOrder(int count, int threads, const std::function<Result(int)>& work,
             const std::function<bool(Result&&)>& take) {
    if (threads <= 1) {
        for (int i = 0; i < count; ++i) {
            if (!take(work(i)))
                return;
        }
        return;
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::map<int, Result> done;
    int next = 0;  // the next i to start
    int taken = 0; // results taken so far
    bool stop = false;
    const auto worker = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stop || next >= count || next < taken + 2 * threads; });
            if (stop || next >= count)
                return;
            const int i = next++;
            lock.unlock();
            Result result = work(i);
            lock.lock();
            done.emplace(i, std::move(result));
            changed.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(worker);
    std::unique_lock lock(mutex);
    while (taken < count && !stop) {
        changed.wait(lock, [&] { return done.count(taken) > 0; });
        auto node = done.extract(taken);
        lock.unlock();
        const bool more = take(std::move(node.mapped()));
        lock.lock();
        ++taken;
        stop = !more;
        changed.notify_all();
    }
    lock.unlock();
    for (std::thread& thread : pool)
        thread.join();
}

} // namespace veldrune
