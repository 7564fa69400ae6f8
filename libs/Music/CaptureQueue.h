#ifndef MUSIC_CAPTUREQUEUE_H
#define MUSIC_CAPTUREQUEUE_H

// The capture queue: mono samples in -1..1 on their way from a capture
// transport to the analysis cycle. Producers push one block at a time at the
// front; the analysis cycle drains from the back, oldest first. No capacity
// limit: the analysis cycle keeps it short.
//
// Threads:
// - push: any producer thread (a transport's capture thread, or the interface
//   thread for the Qt transport), one block per call;
// - drain: the thread that runs the analysis cycle, one drain per cycle;
// - size, clear and the members: any thread, but only while holding
//   m_queue_lock (size and clear take it themselves).
// The lock is held for one block or one drain. No other lock is taken and no
// signal is emitted while it is held, so the callbacks given to push and drain
// must not take locks or emit signals either.

#include <deque>
#include <mutex>

namespace Music {

class CaptureQueue
{
public:
    // One block, under the lock. `fill` adds the block's samples with
    // pushFront; `counted` is the block's size as the drain rule counts it (raw
    // values, all channels). The first block after a drain started resets the
    // count of recent samples.
    template <typename Fill> void push(int counted, Fill&& fill)
    {
        std::lock_guard<std::mutex> guard(m_queue_lock);
        fill(*this);
        countLocked(counted);
    }
    // One block of n mono samples, oldest first.
    void pushBlock(const double* values, int n)
    {
        push(n, [values, n](CaptureQueue& queue) {
            for (int k = 0; k < n; ++k)
                queue.pushFront(values[k]);
        });
    }
    // For the fill functions of push: one sample, newest at the front.
    void pushFront(double value) { m_sample_queue.push_front(value); }

    // One drain, under the lock: raises m_drain_started, then hands `take` the
    // oldest samples one at a time. It takes at least `minimum` samples when
    // the queue holds them and, beyond that, everything but the samples pushed
    // since the previous drain, so a backlog is caught up at once while the
    // latest packets wait for the next cycle. Returns the number taken.
    template <typename Take> long long drain(long long minimum, Take&& take)
    {
        std::lock_guard<std::mutex> guard(m_queue_lock);
        m_drain_started = true;
        const std::size_t recent = std::size_t(m_pushed_since_drain > 0 ? m_pushed_since_drain : 0);
        long long i = 0;
        while (!m_sample_queue.empty()) {
            if (m_sample_queue.size() <= recent && i >= minimum) break;
            const double value = m_sample_queue.back();
            m_sample_queue.pop_back();
            take(value);
            ++i;
        }
        return i;
    }

    std::size_t size();
    // Empties the queue and forgets the counts (a fresh start).
    void clear();

    // Guards the three members below.
    std::mutex m_queue_lock;
    // Samples in -1..1, newest at the front.
    std::deque<double> m_sample_queue;
    // Raw values pushed since the analysis cycle last raised m_drain_started.
    int m_pushed_since_drain = 0;
    // Raised by each drain; lowered by the next block.
    bool m_drain_started = false;

private:
    void countLocked(int counted);
};

} // namespace Music

#endif
