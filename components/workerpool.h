// SPDX-License-Identifier: MIT
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class QThreadPool;

// A fixed set of worker threads running tasks in the order they were started. Built on the
// standard library's threads and locks only, so a thread sanitizer sees every hand-over between
// the caller and the workers (Qt's own pools synchronise inside Qt, where it cannot look).
class WorkerPool
{
public:
    // threads <= 0 means one per usable core.
    explicit WorkerPool(int threads = 0);
    // Waits for every started task, then ends the threads.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    int threadCount() const { return int(m_threads.size()); }
    void start(std::function<void()> task);
    // Returns once every task started so far has finished.
    void waitForDone();

    // Runs work(0) .. work(count - 1) on up to `threads` threads (the calling thread is one of
    // them) and returns when all are done. Indexes are handed out in ascending order.
    static void forEach(std::size_t count, const std::function<void(std::size_t)>& work, int threads = 0);

    /// The processors this process may use (its CPU affinity, e.g. under taskset), at least 1.
    static int coreCount();
    /// In a program with a window: puts the calling thread below the window's priority (nice + 5,
    /// once per thread), so that a machine whose cores are all busy with workers still paints the
    /// window and takes a Cancel. Every pool thread does it; a job's own thread calls it when it
    /// starts. Without a window (lumivert-cli, benchmarks) the workers keep the program's priority.
    static void runBelowWindow();
    /// Set once by the window program before any worker starts.
    static void setWindowProgram(bool on);
    /// The threads long jobs (an import, a generation) run on with QtConcurrent::run. Not Qt's
    /// global pool: Qt's raster painting hands work to that pool and waits for it, so a job there
    /// stops every paint where the pool has one thread (one usable core).
    static QThreadPool* jobThreads();

private:
    void serve(std::stop_token stop);

    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_tasks;
    int m_busy = 0;
    std::vector<std::jthread> m_threads;
};
