// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#if defined(__linux__)
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "components/workerpool.h"

TEST(WorkerPool, RunsEveryTaskAndWaitsForThem)
{
    WorkerPool pool(3);
    EXPECT_EQ(pool.threadCount(), 3);
    std::vector<int> done(200, 0); // each task writes only its own slot
    for (int i = 0; i < 200; ++i)
        pool.start([&done, i] {
            if (i % 50 == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            done[size_t(i)] = i + 1;
        });
    pool.waitForDone();
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(done[size_t(i)], i + 1);

    // The pool is reusable after a wait, and waiting with nothing started returns at once.
    pool.waitForDone();
    std::atomic<int> more = 0;
    for (int i = 0; i < 10; ++i)
        pool.start([&more] { ++more; });
    pool.waitForDone();
    EXPECT_EQ(more, 10);
}

TEST(WorkerPool, DestructionWaitsForStartedTasks)
{
    std::atomic<int> finished = 0;
    {
        WorkerPool pool(2);
        for (int i = 0; i < 6; ++i)
            pool.start([&finished] {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                ++finished;
            });
    }
    EXPECT_EQ(finished, 6);
    EXPECT_GE(WorkerPool(0).threadCount(), 1); // one per core, at least one
}

TEST(WorkerPool, ForEachCoversEveryIndexOnce)
{
    for (const int threads : {1, 2, 7}) {
        for (const std::size_t count : {std::size_t(0), std::size_t(1), std::size_t(3), std::size_t(1000)}) {
            std::vector<std::atomic<int>> hits(count);
            std::mutex m;
            std::set<std::thread::id> used;
            WorkerPool::forEach(
                count,
                [&](std::size_t i) {
                    ++hits[i];
                    const std::lock_guard lock(m);
                    used.insert(std::this_thread::get_id());
                },
                threads);
            for (std::size_t i = 0; i < count; ++i)
                EXPECT_EQ(hits[i], 1) << "index " << i << " of " << count << " on " << threads;
            EXPECT_LE(used.size(), std::min(std::size_t(threads), std::max<std::size_t>(count, 1)));
        }
    }
}

#if defined(__linux__)
TEST(WorkerPool, UsesTheProcessorsItMayRunOnAndRunsBelowTheCaller)
{
    // Under taskset -c 0 the machine still has every core, the process only one.
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    EXPECT_EQ(WorkerPool::coreCount(), CPU_COUNT(&allowed));

    auto niceOf = [] {
        errno = 0;
        return getpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)));
    };
    const int caller = niceOf();
    for (const bool window : {false, true}) {
        SCOPED_TRACE(window);
        WorkerPool::setWindowProgram(window);
        std::atomic<int> worker = -100;
        {
            WorkerPool pool(1);
            pool.start([&] { worker = niceOf(); });
        }
        EXPECT_EQ(worker, window ? std::min(19, caller + 5) : caller);
        EXPECT_EQ(niceOf(), caller); // the caller's own thread stays where it was
    }
    WorkerPool::setWindowProgram(false);
}
#endif

TEST(WorkerPool, AJobLeavesQtsGlobalPoolToThePainting)
{
    // Under taskset -c 0 Qt's global pool has one thread, and Qt's painting waits for it.
    QThreadPool* global = QThreadPool::globalInstance();
    const int before = global->maxThreadCount();
    global->setMaxThreadCount(1);
    std::atomic<bool> release = false;
    QFuture<void> job = QtConcurrent::run(WorkerPool::jobThreads(), [&release] {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    QFuture<int> paint = QtConcurrent::run(global, [] { return 1; });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!paint.isFinished() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(paint.isFinished());
    release = true;
    job.waitForFinished();
    global->setMaxThreadCount(before);
}
