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
// out as one thread would give them. At most 16 results a thread wait to be taken, so that
// memory does not grow with the count. When `take` returns false, no further
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
    std::condition_variable room;  // a worker may start another i
    std::condition_variable ready; // the result to take next is done
    std::map<int, Result> done;
    int next = 0;  // the next i to start
    int taken = 0; // results taken so far
    bool stop = false;
    const int ahead = 16 * threads; // results that may wait to be taken
    const auto worker = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            room.wait(lock, [&] { return stop || next >= count || next < taken + ahead; });
            if (stop || next >= count)
                return;
            const int i = next++;
            lock.unlock();
            Result result = work(i);
            lock.lock();
            done.emplace(i, std::move(result));
            // Only the result to take next wakes the taker: a wake-up costs a system call.
            if (i == taken)
                ready.notify_one();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(worker);
    std::unique_lock lock(mutex);
    while (taken < count && !stop) {
        ready.wait(lock, [&] { return done.count(taken) > 0; });
        auto node = done.extract(taken);
        lock.unlock();
        const bool more = take(std::move(node.mapped()));
        lock.lock();
        ++taken;
        stop = !more;
        room.notify_all();
    }
    lock.unlock();
    for (std::thread& thread : pool)
        thread.join();
}

} // namespace veldrune
