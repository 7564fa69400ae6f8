#ifndef MUSIC_MUSIC_H
#define MUSIC_MUSIC_H

// The process-wide pitch model: sampling rate, reference A, note range,
// temperament, transposition and note-name style, with the conversions between
// frequency, semitone index and note name that the whole program shares.
// Semitone 0 is the reference A (named A4); octave numbers change at C.
// Everything here is used from the interface thread only.

#include <string>
#include <vector>

namespace Music {

// Fixed underlying types: values outside the lists (from a stored setting, say) are
// representable and handled, not undefined.
enum Tuning : int { CHROMATIC = 0, WERCKMEISTER3 = 1, KIRNBERGER3 = 2, DIATONIC = 3, MEANTONE = 4 };
enum NotesName : int {
    LOCAL_ANGLO = 0,
    LOCAL_LATIN = 1,
    LOCAL_GERMAN = 2,
    LOCAL_HINDUSTANI = 3,
    LOCAL_BYZANTINE = 4
};

// Base of the objects told about changes of sampling rate, reference frequency
// and note range. Construction registers, destruction unregisters.
class SettingsListener
{
public:
    SettingsListener();
    SettingsListener(const SettingsListener&) = delete;
    SettingsListener& operator=(const SettingsListener&) = delete;
    virtual void samplingRateChanged() {}
    virtual void AFreqChanged() {}
    virtual void semitoneBoundsChanged() {}
    virtual ~SettingsListener();
};

void AddSettingsListener(SettingsListener* listener);
void RemoveSettingsListener(SettingsListener* listener);

int GetSamplingRate();
void SetSamplingRate(int rate);
double GetAFreq();
void SetAFreq(double freq);
int GetSemitoneMin();
int GetSemitoneMax();
void SetSemitoneBounds(int min, int max);
Tuning GetTuning();
void SetTuning(Tuning tuning);

// Frequency ratio of the note i semitones above A within one octave (i = 0..12).
extern double s_tuning_ratios[13];
extern int s_transposition;
extern NotesName s_notes_name;

// 12 / ln 2
constexpr double SEMITONE_FACTOR = 17.312340490667562;

double FreqToSemitone(double freq);
double SemitoneToFreq(double ht);
int NearestSemitone(double freq);
double TunedFreq(int ht);
// The index returned by NearestSemitone when there is no note (freq <= 1 Hz).
constexpr int NO_SEMITONE = -1000;

std::string GetNoteName(int ht, NotesName style, int transposition, bool show_octave);

// Hann window of n points scaled by 2/(n-1), so that its values sum to about 1.
std::vector<double> HannWindow(int n);

} // namespace Music

#endif
