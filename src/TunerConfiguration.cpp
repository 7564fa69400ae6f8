// The configuration controller of the main window: what the dialog shows, how
// its OK applies the settings through the analysis set-up, the transports'
// controls, and the labels that follow the note names and the reference.

#include "CustomInstrumentTunerForm.h"

#include "CaptureThreadImpl.h"
#include "GLGraph.h"
#include "MicrotonalView.h"
#include "View.h"
#include <QAudioDeviceInfo>
#include <QMessageBox>

namespace {

void SetTip(QWidget* widget, const QString& text)
{
    widget->setToolTip(text);
    widget->setWhatsThis(text);
}

} // namespace

QString CustomInstrumentTunerForm::noteName(int ht, int transposition)
{
    return QString::fromStdString(Music::GetNoteName(ht, Music::s_notes_name, transposition, true));
}

void CustomInstrumentTunerForm::stageTransports()
{
    CustomConfigForm& c = m_config_form;
    for (CaptureThreadImpl* transport : m_capture_thread.getTransports())
        c.ui_cbTransports->addItem(transport->getName());
    if (m_capture_thread.getTransports().empty())
        QMessageBox::critical(this, tr("Error"), tr("Please compile me with a capture system ..."),
                              QMessageBox::Ok);
    if (m_capture_thread.getTransports().size() == 1) {
        c.ui_lblSelectedCaptureSystem->hide();
        c.ui_btnAutoDetect->hide();
        c.ui_chkAutoDetect->hide();
        c.ui_cbTransports->hide();
    }

    // What the dialog shows of each transport and how OK applies it.
    auto rate = [this](bool max, QSpinBox* spin) {
        m_capture_thread.setSamplingRate(max ? CaptureThread::SAMPLING_RATE_MAX : spin->value());
    };
    m_transport_ui = {
        {QStringLiteral("Qt"), c.ui_grpQt, nullptr,
         [this](CaptureThreadImpl* qt) {
             m_config_form.ui_spinQtSamplingRate->setValue(m_capture_thread.getSamplingRate());
             fillAudioInputDevices(qt->getSource());
         },
         [this, &c, rate] {
             m_capture_thread.setSource(c.ui_cbQtDeviceName->currentText());
             rate(c.ui_chkQtSamplingRateMax->isChecked(), c.ui_spinQtSamplingRate);
         }},
        {QStringLiteral("JACK"), c.ui_grpJACK, c.ui_lblJACKSamplingRate,
         [this](CaptureThreadImpl*) {
             m_config_form.ui_lblJACKSamplingRate->setText(
                 QString::number(m_capture_thread.getSamplingRate()));
         },
         [this, &c] {
             m_capture_thread.setSource(c.ui_chkJACKAutoConnect->isChecked() ? c.ui_txtJACKSourcePort->text()
                                                                             : QString());
             c.ui_lblJACKSamplingRate->setText(QString::number(m_capture_thread.getSamplingRate()));
         }},
        {QStringLiteral("OSS"), c.ui_grpOSS, nullptr,
         [this](CaptureThreadImpl*) {
             m_config_form.ui_spinOSSSamplingRate->setValue(m_capture_thread.getSamplingRate());
         },
         [this, &c, rate] {
             m_capture_thread.setSource(c.ui_txtOSSPCMName->text());
             rate(c.ui_chkOSSSamplingRateMax->isChecked(), c.ui_spinOSSSamplingRate);
         }}};

    // The transport groups come back one at a time when a transport is selected;
    // the range filtering group stays hidden for good (still stored and applied);
    // the offset controls appear when the offset is enabled.
    selectTransport(QString());
    m_config_form.ui_grpRangeFiltering->hide();
    ui_lblA3Offset->hide();
    ui_spinA3Offset->hide();
}

void CustomInstrumentTunerForm::fillAudioInputDevices(const QString& selected)
{
    QComboBox* list = m_config_form.ui_cbQtDeviceName;
    list->clear();
    for (const QAudioDeviceInfo& device : QAudioDeviceInfo::availableDevices(QAudio::AudioInput))
        list->addItem(device.deviceName());
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i) == selected) list->setCurrentIndex(i);
}

// ---------------------------------------------------------------------------
// Configuration

void CustomInstrumentTunerForm::configure()
{
    CustomConfigForm& c = m_config_form;
    m_capture_thread.stopCapture();

    noteRangeChanged();
    transpositionChanged();

    const int index = m_capture_thread.getCurrentTransportIndex();
    if (index < c.ui_cbTransports->count()) c.ui_cbTransports->setCurrentIndex(index);

    for (const TransportUi& t : m_transport_ui)
        if (CaptureThreadImpl* transport = m_capture_thread.getTransport(t.name)) {
            t.group->setTitle(transport->getDescription());
            t.show(transport);
        }
    if (!m_capture_thread.getTransport(QStringLiteral("Qt"))) fillAudioInputDevices(QString());

    c.adjustSize();
    c.show();
}

void CustomInstrumentTunerForm::configure_ok()
{
    CustomConfigForm& c = m_config_form;

    const Music::AnalysisSettings settings = analysisSettings();
    m_setup.apply(settings);

    // The microtonal view names its roots in the new names and follows the reference.
    m_microtonalView->notesNameChanged();
    m_microtonalView->setAFreq(float(Music::GetAFreq()));

    update_localized_note_names();

    ui_spinA3Offset->setVisible(c.ui_chkShowA4Offset->isChecked());
    ui_lblA3Offset->setVisible(c.ui_chkShowA4Offset->isChecked());

    // Transport. The names are those of the capture front's own registry, so
    // selectTransport cannot fail on them; an unknown name is reported anyway
    // rather than ending the program.
    const QString transport = c.ui_cbTransports->currentText();
    try {
        if (const TransportUi* t = transportUi(transport)) {
            m_capture_thread.selectTransport(transport);
            t->apply();
        }
    } catch (const QString& message) {
        errorRaised(message);
    }

    m_timer_refresh.setInterval(c.ui_spinRefreshTime->value());

    m_glGraph->setVolumeTreshold(c.ui_spinVolumeTreshold->value());
    m_glGraph->clear();

    if (!pauseAction->isChecked() && !m_capture_thread.m_is_capturing.load()) m_capture_thread.startCapture();
}

void CustomInstrumentTunerForm::configure_cancel()
{
    if (!pauseAction->isChecked() && !m_capture_thread.m_is_capturing.load()) m_capture_thread.startCapture();
}

void CustomInstrumentTunerForm::noteRangeChanged()
{
    auto label = [](int ht) {
        return noteName(ht, Music::s_transposition) + " = " +
               QString::number(Music::SemitoneToFreq(ht), 'g', 6) + " hz";
    };
    m_config_form.ui_txtMinHT->setText(label(m_config_form.ui_spinMinHT->value()));
    m_config_form.ui_txtMaxHT->setText(label(m_config_form.ui_spinMaxHT->value()));
}

void CustomInstrumentTunerForm::transpositionChanged()
{
    m_config_form.ui_lblTransposition->setText(noteName(-9, 0) + QString::fromUtf8(" \u2192 ") +
                                               noteName(-9, m_config_form.ui_spinTransposition->value()));
}

void CustomInstrumentTunerForm::update_localized_note_names()
{
    CustomConfigForm& c = m_config_form;
    auto n = [](int ht) { return noteName(ht, 0); };

    const QString t =
        tr("Transposition in number of semitones relative to %1.\nUseful to convert note names to "
           "a corresponding transposing instrument (e.g. %2 for saxophone, %3 for trumpet).")
            .arg(n(-9), n(-18), n(-11));
    SetTip(c.textLabel1_7, t);
    SetTip(c.ui_spinTransposition, t);
    SetTip(c.ui_lblTransposition, t);

    const QString a = n(0);
    const QString base = tr("The base tuning frequency (the %1 frequency)").arg(a);
    SetTip(textLabel8, base);
    SetTip(ui_spinAFreq, base);
    c.ui_chkShowA4Offset->setText(tr("Allows adding an offset to the reference %1").arg(a));
    SetTip(c.textLabel7, tr("Range of possible notes from the lowest to the highest around the %1 reference "
                            "note.\nSmaller the range, smaller the CPU usage.")
                             .arg(a));
    const QString lowest =
        tr("Lowest semitone from the %1 reference note.\nIt can useful to put it higher than "
           "-35 to avoid disturbance from the sector alimentation (~50hz).")
            .arg(a);
    SetTip(c.ui_spinMinHT, lowest);
    SetTip(c.ui_txtMinHT, lowest);
    const QString highest = tr("Highest semitone from the %1 reference note.").arg(a);
    SetTip(c.ui_spinMaxHT, highest);
    SetTip(c.ui_txtMaxHT, highest);
}

void CustomInstrumentTunerForm::transportChanged(const QString& name)
{
    selectTransport(name);
    const int index = m_capture_thread.getCurrentTransportIndex();
    if (index != m_config_form.ui_cbTransports->currentIndex())
        m_config_form.ui_cbTransports->setCurrentIndex(index);
}

void CustomInstrumentTunerForm::selectTransport(const QString& name)
{
    // Groups of transports this program does not have stay hidden too.
    for (QGroupBox* group : {m_config_form.ui_grpALSA, m_config_form.ui_grpPortAudio})
        group->hide();
    for (const TransportUi& t : m_transport_ui)
        t.group->setVisible(t.name == name);
}

const CustomInstrumentTunerForm::TransportUi*
CustomInstrumentTunerForm::transportUi(const QString& name) const
{
    for (const TransportUi& t : m_transport_ui)
        if (t.name == name) return &t;
    return nullptr;
}

void CustomInstrumentTunerForm::autoDetectTransport()
{
    m_capture_thread.autoDetectTransport();
}

void CustomInstrumentTunerForm::ui_spinAFreq_valueChanged(int)
{
    Music::SetAFreq(analysisSettings().referenceFreq());
}

void CustomInstrumentTunerForm::ui_spinAOffset_valueChanged(int)
{
    Music::SetAFreq(analysisSettings().referenceFreq());
}

Music::AnalysisSettings CustomInstrumentTunerForm::analysisSettings() const
{
    const CustomConfigForm& c = m_config_form;
    Music::AnalysisSettings s;
    s.a_freq = ui_spinAFreq->value();
    s.a_offset_enabled = c.ui_chkShowA4Offset->isChecked();
    s.a_offset_cents = ui_spinA3Offset->value();
    const int tuning = c.ui_cbTuning->currentIndex();
    s.tuning = tuning >= 0 && tuning <= 4 ? Music::Tuning(tuning) : Music::CHROMATIC;
    s.transposition = c.ui_spinTransposition->value();
    const int names = c.ui_cbNotesName->currentIndex();
    s.notes_name = names >= 0 && names <= 4 ? Music::NotesName(names) : Music::s_notes_name;
    s.min_ht = c.ui_spinMinHT->value();
    s.max_ht = c.ui_spinMaxHT->value();
    if (!c.ui_grpRangeFiltering->isChecked())
        s.range_filter = Music::AnalysisSettings::NoRangeFilter;
    else if (c.ui_rdRangeFilteringFIR->isChecked())
        s.range_filter = Music::AnalysisSettings::FIRRangeFilter;
    else if (c.ui_rdRangeFilteringRectangular->isChecked())
        s.range_filter = Music::AnalysisSettings::RectangularRangeFilter;
    else // neither radio: the filter in use stays
        s.range_filter = m_setup.settings().range_filter;
    s.volume_threshold_db = c.ui_spinVolumeTreshold->value();
    s.window_factor = c.ui_spinWindowSizeFactor->value();
    s.detector = c.ui_cbDetector->currentIndex() == 1 ? Music::AnalysisSettings::PartialsDetector
                                                      : Music::AnalysisSettings::CombedDetector;
    s.use_audibility = c.ui_chkAlgoUseSubHarmTresh->isChecked();
    s.audibility_db = c.ui_spinCombedFFTAudibilityRatio->value();
    s.quantizer = c.ui_grpQuantizer->isChecked();
    s.latency_ms = c.ui_spinErrorLatency->value();
    s.cycle = cycleSettings();
    return s;
}

Music::AnalysisPipeline::Settings CustomInstrumentTunerForm::cycleSettings() const
{
    const CustomConfigForm& c = m_config_form;
    Music::AnalysisPipeline::Settings s;
    s.refresh_ms = c.ui_spinRefreshTime->value();
    s.refinement = c.up_grpFreqRefinement->isChecked();
    // With neither radio checked, no refinement is made.
    if (c.ui_rdUseFreqRefinement->isChecked())
        s.refinement_method = Music::AnalysisPipeline::FrequencyRefinement;
    else if (c.ui_rdUseTimeRefinement->isChecked())
        s.refinement_method = Music::AnalysisPipeline::TimeRefinement;
    else
        s.refinement = false;
    s.max_harmonics = c.ui_spinFreqRefinMaxHarm->value();
    s.max_periods = c.ui_spinTimeRefinMaxPeriod->value();
    s.buffer_duration_ms = m_glGraph->spinDuration->value();
    return s;
}
