#ifndef ORFE_TESTS_PITCHMODELRESET_H
#define ORFE_TESTS_PITCHMODELRESET_H

// The pitch model is process-wide state: a test that depends on it starts from
// its factory state, A4 = 440 Hz, chromatic temperament, no transposition,
// Anglo-Saxon note names and the note range -36 .. 48 (A1 to A8), with the
// sampling rate unknown (-1) until a capture reports one. A test may ask for
// its own sampling rate and note range; the rate is set last, so a detector
// alive at that moment re-plans once, for the whole new state.

#include "Music/Music.h"

inline void resetPitchModel(int samplingRate = -1, int minHt = -36, int maxHt = 48)
{
    Music::SetAFreq(440.0);
    Music::SetTuning(Music::CHROMATIC);
    Music::s_transposition = 0;
    Music::s_notes_name = Music::LOCAL_ANGLO;
    Music::SetSemitoneBounds(minHt, maxHt);
    Music::SetSamplingRate(samplingRate);
}

#endif
