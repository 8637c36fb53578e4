#include "BatchRunner.h"

#include "compose/PreviewComposer.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

int BatchRunner::run(int count, int workers, const Work &work, const Report &report)
{
    struct Job
    {
        Outcome outcome;
        bool done = false;
    };
    std::vector<Job> jobs(static_cast<size_t>(std::max(count, 0)));
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<int> next{0};
    const auto worker = [&] {
        PreviewComposer composer;
        for (int i = next++; i < count; i = next++) {
            Outcome outcome;
            outcome.ok = work(i, composer, &outcome.messages);
            const std::lock_guard<std::mutex> lock(mutex);
            jobs[size_t(i)].outcome = std::move(outcome);
            jobs[size_t(i)].done = true;
            finished.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (int w = 0; w < std::min(workers, count); ++w)
        threads.emplace_back(worker);

    int failures = 0;
    for (int i = 0; i < count; ++i) {
        Job &job = jobs[size_t(i)];
        {
            std::unique_lock<std::mutex> lock(mutex);
            finished.wait(lock, [&job] { return job.done; });
        }
        report(i, job.outcome);
        failures += job.outcome.ok ? 0 : 1;
    }
    for (std::thread &thread : threads)
        thread.join();
    return failures;
}
