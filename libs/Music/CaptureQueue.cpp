#include "CaptureQueue.h"

namespace Music {

std::size_t CaptureQueue::size()
{
    std::lock_guard<std::mutex> guard(m_queue_lock);
    return m_sample_queue.size();
}

void CaptureQueue::clear()
{
    std::lock_guard<std::mutex> guard(m_queue_lock);
    m_sample_queue.clear();
    m_pushed_since_drain = 0;
    m_drain_started = false;
}

void CaptureQueue::countLocked(int counted)
{
    if (m_drain_started) {
        m_pushed_since_drain = 0;
        m_drain_started = false;
    }
    m_pushed_since_drain += counted;
}

} // namespace Music
