#ifndef MUSIC_CFFTW3_H
#define MUSIC_CFFTW3_H

// One fixed-size one-dimensional complex DFT (FFTW3, double precision) with a
// real input vector and a complex output vector. The transform is not
// normalised: a constant input c of n points gives out[0] = n*c.
//
// Threads: `resize` and the destructor create and destroy FFTW plans; the
// planner is not re-entrant, so those calls are serialised inside the class and
// may come from any thread. `execute` works on this object only and may run on
// any thread, but never at the same time as another call on the same object.

#include <complex>
#include <vector>

#include <fftw3.h>

namespace Music {

class CFFTW3
{
public:
    // forward: FFTW forward sign (-1); otherwise the backward sign (+1).
    explicit CFFTW3(bool forward = true);
    CFFTW3(const CFFTW3&) = delete;
    CFFTW3& operator=(const CFFTW3&) = delete;
    ~CFFTW3();

    // Re-plans for n points (n > 0) with the measuring planner; `in` and `out`
    // take n entries (new ones 0). Planning scribbles over the internal buffers,
    // never over `in` or `out`. This is the only call that allocates.
    void resize(int n);

    // Transforms the first m_size values of in (at least m_size of them)
    // into result, which grows to m_size entries if shorter; entries beyond
    // m_size of a longer result are left alone.
    void execute(const std::vector<double>& in, std::vector<std::complex<double>>& result);
    // execute(in, out)
    void execute();

private:
    int m_size;
    fftw_plan m_plan;
    fftw_complex* m_in_buf;
    fftw_complex* m_out_buf;
    bool m_forward;

public:
    // Real input samples, written by the caller before `execute`.
    std::vector<double> in;
    // Complex result, read by the caller after `execute`; index k stands for
    // k * sampling rate / m_size.
    std::vector<std::complex<double>> out;
};

// One fixed-size real-to-complex DFT (FFTW3, double precision), forward sign,
// not normalised. Its public vectors read like CFFTW3's: `in` holds n real
// samples, `out` n complex entries, the upper half being the mirror image
// (complex conjugate) of the lower, as the transform of a real input is. About
// half the work of the complex transform of the same size.
//
// Threads: as CFFTW3 (the two share the planner's lock).
class CFFTW3Real
{
public:
    CFFTW3Real();
    CFFTW3Real(const CFFTW3Real&) = delete;
    CFFTW3Real& operator=(const CFFTW3Real&) = delete;
    ~CFFTW3Real();

    // Re-plans for n points (n > 0) with the measuring planner; `in` and `out`
    // take n entries (new ones 0). The only call that allocates.
    void resize(int n);

    // out = DFT(in). With mirror false only out[0..n/2] are written (the rest
    // keeps its previous values), for callers that read no further.
    void execute(bool mirror = true);

    std::vector<double> in;
    std::vector<std::complex<double>> out;

private:
    int m_size = 0;
    fftw_plan m_plan = nullptr;
    double* m_in_buf = nullptr;
    fftw_complex* m_out_buf = nullptr;
};

} // namespace Music

#endif
