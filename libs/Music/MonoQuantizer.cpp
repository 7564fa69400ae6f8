#include "MonoQuantizer.h"

#include "Music.h"

#include <cmath>
#include <vector>

namespace Music {

namespace {

double Sanitized(double freq)
{
    return (std::isfinite(freq) && freq > 0.0) ? freq : 0.0;
}

// Equal-tempered note nearest to freq, 0 for no pitch.
double ChromaticNote(double freq)
{
    if (freq <= 0.0) return 0.0;
    return SemitoneToFreq(std::round(FreqToSemitone(freq)));
}

// The pass-through quantizer names the note with the temperament's table but
// reports it at its equal-tempered frequency, without checking the note range.
double DummyNote(double freq)
{
    if (GetTuning() == CHROMATIC) return ChromaticNote(freq);
    if (freq <= 1.0) return 0.0;
    return SemitoneToFreq(NearestSemitone(freq));
}

// The latency quantizer reports the note at its frequency in the temperament,
// and nothing below the note range (which covers the no-note index).
double LatencyNote(double freq)
{
    if (GetTuning() == CHROMATIC) return ChromaticNote(freq);
    const int ht = NearestSemitone(freq);
    if (ht < GetSemitoneMin()) return 0.0;
    return TunedFreq(ht);
}

} // namespace

MonoQuantizer::MonoQuantizer(QObject* parent) : QObject(parent) {}

DummyMonoQuantizer::DummyMonoQuantizer(QObject* parent) : MonoQuantizer(parent) {}

void DummyMonoQuantizer::quantize(double freq)
{
    freq = Sanitized(freq);
    m_avg_freq = freq;
    const double q = DummyNote(freq);
    if (m_quantized_freq != 0.0) {
        if (q == 0.0) {
            m_quantized_freq = 0.0;
            emit noteFinished(0.0, 0.0);
        } else if (q != m_quantized_freq) {
            const double old = m_quantized_freq;
            emit noteFinished(old, 0.0);
            m_quantized_freq = q;
            emit noteStarted(q, 0.0);
        }
    }
    if (m_quantized_freq == 0.0 && q > 0.0) {
        m_quantized_freq = q;
        emit noteStarted(q, 0.0);
    }
}

void DummyMonoQuantizer::reset()
{
    quantize(0.0);
    m_avg_freq = 0.0;
}

LatencyMonoQuantizer::LatencyMonoQuantizer(QObject* parent) : MonoQuantizer(parent)
{
    m_time.start();
}

void LatencyMonoQuantizer::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

double LatencyMonoQuantizer::now() const
{
    return m_clock ? m_clock() : double(m_time.elapsed());
}

void LatencyMonoQuantizer::quantize(double freq)
{
    freq = Sanitized(freq);
    const double t = now();
    m_values.push_front(Record{t, freq, 1.0});

    m_avg_freq = freq;
    double winner = LatencyNote(freq);
    int best = 1;

    // Vote, newest first; ties keep the earlier winner, so the newest estimate
    // wins when every note has one vote.
    struct Tally
    {
        double note;
        int count;
        double mean;
    };
    std::vector<Tally> tallies;
    for (const Record& r : m_values) {
        const double k = LatencyNote(r.freq);
        Tally* found = nullptr;
        for (Tally& tally : tallies)
            if (tally.note == k) {
                found = &tally;
                break;
            }
        if (!found) {
            tallies.push_back(Tally{k, 1, r.freq});
            continue;
        }
        found->mean = (found->count * found->mean + r.freq) / (found->count + 1);
        ++found->count;
        if (found->count > best) {
            best = found->count;
            winner = k;
            m_avg_freq = found->mean;
        }
    }

    m_confidence = double(best) / double(m_values.size());
    const double age = t - m_values.back().time;

    if (m_confidence > m_min_confidence) {
        if (m_quantized_freq == 0.0 && winner > 0.0) {
            m_quantized_freq = winner;
            emit noteStarted(winner, -age * m_min_confidence);
        } else if (m_quantized_freq != 0.0 && winner == 0.0) {
            m_quantized_freq = 0.0;
            emit noteFinished(0.0, -age * m_min_confidence);
        } else if (m_quantized_freq != 0.0 && winner != 0.0 && winner != m_quantized_freq) {
            const double old = m_quantized_freq;
            emit noteFinished(old, -age / 2);
            m_quantized_freq = winner;
            emit noteStarted(winner, -age / 2);
        }
    } else if (m_quantized_freq > 0.0) {
        m_quantized_freq = 0.0;
        emit noteFinished(0.0, -age * m_min_confidence);
    }

    // Forget what is older than the memory, after the decision.
    while (!m_values.empty() && t - m_values.back().time > m_latency)
        m_values.pop_back();
}

void LatencyMonoQuantizer::reset()
{
    quantize(0.0);
    m_avg_freq = 0.0;
    m_values.clear();
    m_confidence = 1.0;
}

} // namespace Music
