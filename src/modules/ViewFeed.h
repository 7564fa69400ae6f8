#ifndef ORFE_VIEWFEED_H
#define ORFE_VIEWFEED_H

// How the analysis cycle feeds the views, so that the main window keeps lists
// of views rather than a call per view in its cycle:
//
// - a view that shows the captured sound takes every filtered sample of a
//   drain: it derives from Music::AnalysisSampleSink and the window adds it to
//   the pipeline's sample sinks;
// - a view that shows per-cycle results derives from CycleView and registers
//   with the window (CustomInstrumentTunerForm::addCycleView); the window calls
//   feedCycle once per analysed cycle in which a note is held, in registration
//   order, after the dial and the error history.
//
// Interface thread only.

#include "Music/AnalysisPipeline.h"
#include <QtGlobal>

struct CycleData
{
    // The pipeline that ran the cycle: the analysis buffer (m_queue) and the
    // helpers harmonicStructure and wavePeriod.
    const Music::AnalysisPipeline& pipeline;
    // The capture front's sampling rate, Hz.
    int capture_rate;
    // The frequency shown (the quantizer's average), Hz; > 0.
    double freq;
    // The target of the comparison, Hz (0 when the note's start was not announced).
    double compared_freq;
    // The error of freq against compared_freq, semitones; finite.
    double error;
    // Whether volume_db means something this cycle, and the volume in dB.
    bool has_volume;
    double volume_db;
    // The program clock, ms.
    qint64 time_ms;
};

class CycleView
{
public:
    virtual ~CycleView() = default;
    // One analysed cycle with a note held.
    virtual void feedCycle(const CycleData& data) = 0;
};

#endif
