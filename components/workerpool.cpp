// SPDX-License-Identifier: MIT
#include "components/workerpool.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cerrno>

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace
{
constexpr int BelowWindow = 5; // nice steps below the window's thread
std::atomic<bool> windowProgram = false;
} // namespace

void WorkerPool::setWindowProgram(bool on)
{
    windowProgram = on;
}

int WorkerPool::coreCount()
{
    // std::thread::hardware_concurrency counts every core of the machine, also those the
    // process may not run on (taskset, a container's cpuset); Qt's count follows the affinity.
    return std::max(1, QThread::idealThreadCount());
}

QThreadPool* WorkerPool::jobThreads()
{
    static QThreadPool* const jobs = [] {
        auto* pool = new QThreadPool; // lives as long as the program: a job may still be ending at exit
        pool->setMaxThreadCount(2);
        return pool;
    }();
    return jobs;
}

void WorkerPool::runBelowWindow()
{
    thread_local bool lowered = false;
    if (lowered || !windowProgram)
        return;
    lowered = true;
#if defined(__linux__)
    // On Linux the nice value belongs to each thread, so this leaves the window's thread alone.
    const id_t thread = id_t(::syscall(SYS_gettid));
    errno = 0;
    const int now = ::getpriority(PRIO_PROCESS, thread);
    // Relative to the process's first thread (the window's), not to the thread that made this one.
    const int window = ::getpriority(PRIO_PROCESS, id_t(::getpid()));
    if (errno == 0 && now < window + BelowWindow)
        (void)::setpriority(PRIO_PROCESS, thread, std::min(19, window + BelowWindow));
#endif
}

WorkerPool::WorkerPool(int threads)
{
    const int count = threads > 0 ? threads : coreCount();
    m_threads.reserve(size_t(count));
    for (int t = 0; t < count; ++t)
        m_threads.emplace_back([this](std::stop_token stop) { serve(stop); });
}

WorkerPool::~WorkerPool()
{
    waitForDone();
    for (std::jthread& thread : m_threads)
        thread.request_stop();
    // Each jthread joins as the vector goes; the stop request wakes the ones that are waiting.
    m_threads.clear();
}

void WorkerPool::start(std::function<void()> task)
{
    {
        const std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_wake.notify_one();
}

void WorkerPool::waitForDone()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_tasks.empty() && m_busy == 0; });
}

void WorkerPool::serve(std::stop_token stop)
{
    runBelowWindow();
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait(lock, stop, [this] { return !m_tasks.empty(); }))
                return; // stopped with nothing left to do
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
            ++m_busy;
        }
        task();
        {
            const std::lock_guard lock(m_mutex);
            --m_busy;
        }
        m_idle.notify_all();
    }
}

void WorkerPool::forEach(std::size_t count, const std::function<void(std::size_t)>& work, int threads)
{
    if (count == 0)
        return;
    std::atomic<std::size_t> next = 0;
    const auto run = [&] {
        for (std::size_t i = next++; i < count; i = next++)
            work(i);
    };
    const auto help = [&] {
        runBelowWindow();
        run();
    };
    const std::size_t wanted = threads > 0 ? std::size_t(threads) : std::size_t(coreCount());
    const std::size_t helpers = std::min(wanted, count) - 1;
    std::vector<std::jthread> running;
    running.reserve(helpers);
    for (std::size_t h = 0; h < helpers; ++h)
        running.emplace_back(help);
    run();
    // The helpers join as `running` goes out of scope.
}
