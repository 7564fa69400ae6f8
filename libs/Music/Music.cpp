#include "Music.h"

#include <algorithm>
#include <cmath>

namespace Music {

namespace {

int s_sampling_rate = -1;
double s_AFreq = 440.0;
int s_semitone_min = -48;
int s_semitone_max = 48;
Tuning s_tuning = CHROMATIC;

std::vector<SettingsListener*>& listeners()
{
    static std::vector<SettingsListener*> registry;
    return registry;
}

template <typename Handler> void notify(Handler handler)
{
    // A copy, so that a listener created or destroyed by a handler cannot
    // invalidate the walk.
    const std::vector<SettingsListener*> current = listeners();
    for (SettingsListener* l : current)
        if (std::find(listeners().begin(), listeners().end(), l) != listeners().end()) (l->*handler)();
}

const double k_ratios[5][13] = {
    {},
    {1.0, 1.06425952556, 1.125, 1.19729196625, 1.26134462288, 1.33785800438, 1.41901270074, 1.5,
     1.59638928833, 1.68179283051, 1.78986403988, 1.89201693432, 2.0},
    {1.0, 1.06335913331, 1.12151158592, 1.19627902498, 1.26027749133, 1.33748060995, 1.41781217775,
     1.49534878122, 1.59503869997, 1.68036998845, 1.788854382, 1.890416237, 2.0},
    {1.0, 16.0 / 15.0, 9.0 / 8.0, 6.0 / 5.0, 5.0 / 4.0, 27.0 / 20.0, 36.0 / 25.0, 3.0 / 2.0, 8.0 / 5.0,
     27.0 / 16.0, 9.0 / 5.0, 15.0 / 8.0, 2.0},
    {1.0, 1.06998448796, 1.11803398875, 1.19627902498, 1.25, 1.33748060995, 1.4310835056, 1.49534878122, 1.6,
     1.67185076244, 1.788854382, 1.86918597653, 2.0},
};

} // namespace

double s_tuning_ratios[13] = {1.0,
                              1.0594630943592953,
                              1.122462048309373,
                              1.189207115002721,
                              1.2599210498948732,
                              1.3348398541700344,
                              1.4142135623730951,
                              1.4983070768766815,
                              1.5874010519681994,
                              1.681792830507429,
                              1.7817974362806785,
                              1.8877486253633868,
                              2.0};
int s_transposition = 0;
NotesName s_notes_name = LOCAL_ANGLO;

SettingsListener::SettingsListener()
{
    listeners().push_back(this);
}
SettingsListener::~SettingsListener()
{
    RemoveSettingsListener(this);
}

void AddSettingsListener(SettingsListener* listener)
{
    auto& r = listeners();
    if (std::find(r.begin(), r.end(), listener) == r.end()) r.push_back(listener);
}

void RemoveSettingsListener(SettingsListener* listener)
{
    auto& r = listeners();
    r.erase(std::remove(r.begin(), r.end(), listener), r.end());
}

int GetSamplingRate()
{
    return s_sampling_rate;
}
void SetSamplingRate(int rate)
{
    s_sampling_rate = rate;
    notify(&SettingsListener::samplingRateChanged);
}

double GetAFreq()
{
    return s_AFreq;
}
void SetAFreq(double freq)
{
    s_AFreq = freq;
    notify(&SettingsListener::AFreqChanged);
}

int GetSemitoneMin()
{
    return s_semitone_min;
}
int GetSemitoneMax()
{
    return s_semitone_max;
}
void SetSemitoneBounds(int min, int max)
{
    s_semitone_min = min;
    s_semitone_max = max;
    notify(&SettingsListener::semitoneBoundsChanged);
}

Tuning GetTuning()
{
    return s_tuning;
}
void SetTuning(Tuning tuning)
{
    s_tuning = tuning;
    const int t = int(tuning);
    if (t >= 1 && t <= 4) std::copy(std::begin(k_ratios[t]), std::end(k_ratios[t]), s_tuning_ratios);
}

double FreqToSemitone(double freq)
{
    return std::log(freq / s_AFreq) * SEMITONE_FACTOR;
}

double SemitoneToFreq(double ht)
{
    return s_AFreq * std::pow(2.0, ht / 12.0);
}

int NearestSemitone(double freq)
{
    if (s_tuning == CHROMATIC) {
        const double a = FreqToSemitone(freq);
        if (!std::isfinite(a)) return NO_SEMITONE;
        if (a > 0) return int(std::trunc(a + 0.5));
        if (a < 0) return int(std::trunc(a - 0.5));
        return 0;
    }
    if (!(freq > 1.0) || !std::isfinite(freq) || !(s_AFreq > 0)) return NO_SEMITONE;

    int octave = 0;
    double f = freq;
    while (s_AFreq > f) {
        f *= 2;
        --octave;
    }
    while (f >= 2 * s_AFreq) {
        f /= 2;
        ++octave;
    }
    const double r = f / s_AFreq;

    int lower = 11;
    double upper = s_tuning_ratios[12];
    if (r < s_tuning_ratios[1]) {
        lower = 0;
        upper = s_tuning_ratios[1];
    } else {
        for (int i = 2; i <= 11; ++i)
            if (s_tuning_ratios[i] > r) {
                lower = i - 1;
                upper = s_tuning_ratios[i];
                break;
            }
    }
    const int index = (upper / r > r / s_tuning_ratios[lower]) ? lower : lower + 1;
    return index + 12 * octave;
}

double TunedFreq(int ht)
{
    if (s_tuning == CHROMATIC) return s_AFreq * std::pow(2.0, ht / 12.0);
    const int octave = int(std::floor(ht / 12.0));
    const int index = ht - 12 * octave;
    return s_AFreq * std::pow(2.0, octave) * s_tuning_ratios[index];
}

std::string GetNoteName(int ht, NotesName style, int transposition, bool show_octave)
{
    static const char* const names[5][12] = {
        {"A", "B\u266D", "B", "C", "C\u266F", "D", "E\u266D", "E", "F", "F\u266F", "G", "G\u266F"},
        {"La", "Si\u266D", "Si", "Do", "Do\u266F", "Re", "Mi\u266D", "Mi", "Fa", "Fa\u266F", "Sol",
         "Sol\u266F"},
        {"A", "B", "H", "C", "C\u266F", "D", "E\u266D", "E", "F", "F\u266F", "G", "G\u266F"},
        {"D", "n", "N", "S", "r", "R", "g", "G", "m", "M", "P", "d"},
        {"Ke", "Zo\u266D", "Zo", "Ni", "Ni\u266F", "Pa", "Vou\u266D", "Vou", "Ga", "Ga\u266F", "Di",
         "Di\u266F"},
    };
    const int s = int(style);
    if (s < 0 || s > 4) return "Th#1138";

    // Fold in 64 bits with a division, so that any int (even the no-note
    // index or a huge transposition) is named without a long loop or overflow.
    const long long n0 = (long long)ht + transposition;
    long long shift = n0 >= 0 ? n0 / 12 : -((-n0 + 11) / 12);
    const int n = int(n0 - 12 * shift);
    long long octave = 4 + shift;
    std::string name = names[s][n];
    if (show_octave) name += std::to_string(n > 2 ? octave + 1 : octave);
    return name;
}

std::vector<double> HannWindow(int n)
{
    std::vector<double> w(n > 0 ? size_t(n) : 0);
    if (n == 1) {
        w[0] = 1.0; // a one-point window cannot be scaled by 2/(n-1)
        return w;
    }
    for (int j = 0; j < n; ++j)
        w[j] = (1.0 - std::cos(2.0 * M_PI * j / (n - 1))) / (n - 1);
    return w;
}

} // namespace Music
