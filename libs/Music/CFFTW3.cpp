#include "CFFTW3.h"

#include <algorithm>
#include <cassert>
#include <mutex>

namespace Music {

namespace {

// FFTW's planner (plan creation and destruction) keeps global state and must
// not run on two threads at once; execution of distinct plans may.
std::mutex& plannerLock()
{
    static std::mutex lock;
    return lock;
}

// Destroys a plan and frees its buffers; the caller holds the planner's lock.
template <typename In, typename Out> void Release(fftw_plan& plan, In*& in, Out*& out)
{
    if (plan) fftw_destroy_plan(plan);
    plan = nullptr;
    fftw_free(in);
    fftw_free(out);
    in = nullptr;
    out = nullptr;
}

} // namespace

CFFTW3::CFFTW3(bool forward)
    : m_size(0), m_plan(nullptr), m_in_buf(nullptr), m_out_buf(nullptr), m_forward(forward)
{
}

CFFTW3::~CFFTW3()
{
    std::lock_guard<std::mutex> guard(plannerLock());
    Release(m_plan, m_in_buf, m_out_buf);
}

void CFFTW3::resize(int n)
{
    // clang-format off
    assert(n>0);
    // clang-format on

    {
        std::lock_guard<std::mutex> guard(plannerLock());
        Release(m_plan, m_in_buf, m_out_buf);
        m_size = n;
        m_in_buf = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * size_t(n)));
        m_out_buf = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * size_t(n)));
        assert(m_in_buf && m_out_buf);
        // The measuring planner overwrites both buffers; nothing of the
        // caller's lives there, and `in` is copied in at every execution.
        m_plan =
            fftw_plan_dft_1d(n, m_in_buf, m_out_buf, m_forward ? FFTW_FORWARD : FFTW_BACKWARD, FFTW_MEASURE);
        assert(m_plan);
    }

    in.resize(size_t(n), 0.0);
    out.resize(size_t(n), std::complex<double>(0.0, 0.0));
}

// The parameter deliberately shadows the member: execute() passes the member.
void CFFTW3::execute(const std::vector<double>& in, std::vector<std::complex<double>>& result)
{
    // clang-format off
    assert(int(in.size())>=m_size);
    // clang-format on
    if (!m_plan) return; // never resized: a zero-point transform has nothing to do

    for (int i = 0; i < m_size; ++i) {
        m_in_buf[i][0] = in[size_t(i)];
        m_in_buf[i][1] = 0.0;
    }
    fftw_execute(m_plan);

    if (int(result.size()) < m_size) result.resize(size_t(m_size));
    for (int i = 0; i < m_size; ++i)
        result[size_t(i)] = std::complex<double>(m_out_buf[i][0], m_out_buf[i][1]);
}

void CFFTW3::execute()
{
    execute(in, out);
}

CFFTW3Real::CFFTW3Real() = default;

CFFTW3Real::~CFFTW3Real()
{
    std::lock_guard<std::mutex> guard(plannerLock());
    Release(m_plan, m_in_buf, m_out_buf);
}

void CFFTW3Real::resize(int n)
{
    // clang-format off
    assert(n>0);
    // clang-format on
    {
        std::lock_guard<std::mutex> guard(plannerLock());
        Release(m_plan, m_in_buf, m_out_buf);
        m_size = n;
        m_in_buf = static_cast<double*>(fftw_malloc(sizeof(double) * size_t(n)));
        m_out_buf = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * size_t(n / 2 + 1)));
        assert(m_in_buf && m_out_buf);
        m_plan = fftw_plan_dft_r2c_1d(n, m_in_buf, m_out_buf, FFTW_MEASURE);
        assert(m_plan);
    }
    in.assign(size_t(n), 0.0);
    out.assign(size_t(n), std::complex<double>(0.0, 0.0));
}

void CFFTW3Real::execute(bool mirror)
{
    if (!m_plan) return;
    std::copy(in.begin(), in.begin() + m_size, m_in_buf);
    fftw_execute(m_plan);
    const int half = m_size / 2;
    for (int k = 0; k <= half; ++k)
        out[size_t(k)] = std::complex<double>(m_out_buf[k][0], m_out_buf[k][1]);
    if (mirror)
        for (int k = half + 1; k < m_size; ++k)
            out[size_t(k)] = std::conj(out[size_t(m_size - k)]);
}

} // namespace Music
