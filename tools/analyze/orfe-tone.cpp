// orfe-tone: writes a synthetic tone (or a sequence of tones) with a known
// fundamental to an audio file, for trying the analyser without an instrument.

#include "ToneSynth.h"

#include <sndfile.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

static void usage(FILE* f)
{
    std::fprintf(f, "Usage: orfe-tone [options] OUTPUT.wav\n"
                    "  --freq F        fundamental in Hz; repeat for a sequence of tones (440)\n"
                    "  --seconds S     length of each tone (2)\n"
                    "  --rate R        sampling rate in Hz (44100)\n"
                    "  --kind K        sine|harmonic|weak|inharmonic|square (harmonic)\n"
                    "  --harmonics N   partials of the harmonic kinds (8)\n"
                    "  --amplitude A   peak amplitude, 0..1 (0.5)\n"
                    "  --snr-db D      add white noise at this signal-to-noise ratio (none)\n"
                    "  --channels C    1 or 2; the second channel is silent (1)\n");
}

int main(int argc, char** argv)
{
    ToneSynth::Tone tone;
    std::vector<double> freqs;
    double seconds = 2.0;
    int rate = 44100, channels = 1;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&](double lo, double hi) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "orfe-tone: option '%s' needs a value\n", a.c_str());
                std::exit(2);
            }
            char* end = nullptr;
            const double v = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(v >= lo && v <= hi)) {
                std::fprintf(stderr, "orfe-tone: invalid value '%s' for '%s'\n", argv[i], a.c_str());
                std::exit(2);
            }
            return v;
        };
        if (a == "--help") {
            usage(stdout);
            return 0;
        } else if (a == "--freq") {
            freqs.push_back(next(1, 100000));
        } else if (a == "--seconds") {
            seconds = next(0, 3600);
        } else if (a == "--rate") {
            rate = int(next(1000, 384000));
        } else if (a == "--harmonics") {
            tone.harmonics = int(next(1, 200));
        } else if (a == "--amplitude") {
            tone.amplitude = next(0, 1);
        } else if (a == "--snr-db") {
            tone.snr_db = next(0.001, 200);
        } else if (a == "--channels") {
            channels = int(next(1, 2));
        } else if (a == "--kind") {
            if (i + 1 >= argc) {
                usage(stderr);
                return 2;
            }
            const std::string k = argv[++i];
            if (!ToneSynth::ParseKind(k, tone.kind)) {
                std::fprintf(stderr, "orfe-tone: unknown kind '%s'\n", k.c_str());
                return 2;
            }
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(stderr, "orfe-tone: unknown option '%s'\n", a.c_str());
            return 2;
        } else {
            output = a;
        }
    }
    if (output.empty()) {
        usage(stderr);
        return 2;
    }
    if (freqs.empty()) freqs.push_back(440.0);

    std::vector<float> mono;
    for (double f : freqs) {
        tone.f0 = f;
        ToneSynth::append(mono, tone, rate, seconds);
    }
    std::vector<float> frames(mono.size() * size_t(channels), 0.0f);
    for (size_t i = 0; i < mono.size(); ++i)
        frames[i * size_t(channels)] = mono[i];

    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* sf = sf_open(output.c_str(), SFM_WRITE, &info);
    if (!sf) {
        std::fprintf(stderr, "orfe-tone: %s: %s\n", output.c_str(), sf_strerror(nullptr));
        return 2;
    }
    const sf_count_t written = sf_writef_float(sf, frames.data(), sf_count_t(mono.size()));
    sf_close(sf);
    if (written != sf_count_t(mono.size())) {
        std::fprintf(stderr, "orfe-tone: %s: short write\n", output.c_str());
        return 2;
    }
    return 0;
}
