#ifndef ORFE_MICROTONALVIEW_H
#define ORFE_MICROTONALVIEW_H

// The microtonal panel: one octave drawn as a band between the centres of the
// first and the last of 13 root buttons, the degrees of the chosen scale as
// labelled ticks in that band, and a marker where the played pitch falls.
// Clicking a degree makes it the tuning note; the view computes its frequency
// from the reference A, the root, the root's octave and the degree, and emits
// it. Interface thread only.

#include "Scales/InstalledScales.h"
#include "View.h"
#include "ViewFeed.h"

#include <QFrame>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QPushButton>

class QAction;
class QActionGroup;
class QSpinBox;

// A root button: the semitone `ht` (0 = A4), named with the current note names.
class QRoot : public QPushButton
{
    Q_OBJECT

public:
    QRoot(QWidget* parent, int ht);
    int ht;
    // Names the button after ht in the current note names and transposition.
    void relabel();

signals:
    void rootClicked(int ht);

public slots:
    void clicked2();
};

class MicrotonalView : public QFrame, public View, public CycleView
{
    Q_OBJECT

public:
    using Scale = Scales::Scale;
    using ScaleDegree = Scales::ScaleDegree;

    // The octave band with the played-pitch marker.
    class QScaleLabel : public QLabel
    {
    public:
        explicit QScaleLabel(MicrotonalView* view);
        MicrotonalView* m_view;
        float m_cursor = -1000.0f; // semitones from A; -1000: no marker

    protected:
        void paintEvent(QPaintEvent* e) override;
    };

    // The degrees of the current scale.
    class QRatiosLabel : public QLabel
    {
    public:
        explicit QRatiosLabel(MicrotonalView* view);
        MicrotonalView* m_view;

    protected:
        void paintEvent(QPaintEvent* e) override;
    };

    // `scales_directory` is where the installed scales are read from.
    explicit MicrotonalView(QWidget* parent,
                            const QString& scales_directory = Scales::InstalledScalesDirectory());
    ~MicrotonalView() override;

    QMenu m_scales_menu;
    float m_AFreq = 440.0f;
    float m_tuning_freq = 0.0f;
    QList<QRoot*> m_roots;
    QScaleLabel* m_scale_label;
    QRatiosLabel* m_ratios_label;
    ScaleDegree* m_tuning_degree = nullptr;
    QSpinBox* m_octave_spin;
    QAction* m_keep_root_action;
    int m_root = -1000;
    QAction* m_load_scale_action;
    QList<Scale*> setting_scales; // owned; never two scales with the same name
    Scale* m_current_scale = nullptr;
    QString m_last_scales_dir;

    void save() override;
    void load() override;
    void clearSettings() override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // The analysis cycle's step for this view: the reference, then the cursor.
    void feedCycle(const CycleData& data) override;

    // "no tuning note selected", or the root's name with its octave, ":" and
    // the degree ("C3:3/2", "C3:150.5").
    QString tuningNoteText() const;

    // Steps of loadScale after the dialog: reads `path` and adds its scale, or
    // tells the user why not in an information box.
    void openScaleFile(const QString& path);

    // The octave band in the labels' coordinates: the x centres of the first
    // and the last root button.
    int bandBegin() const;
    int bandEnd() const;

signals:
    void tuningFreqChanged(float freq);

public slots:
    void refreshScaleList();
    void loadScale();
    void scaleActionToggled(bool checked);
    void selectScale(int index);
    void emitTuningFreqChanged();
    void setAFreq(float AFreq);
    void selectScale(const QString& name);
    void selectRoot(int ht);
    void updateCursor(float freq);
    void notesNameChanged();
    void keepRootToLeft(bool keep);

private:
    QActionGroup* m_scales_group = nullptr;
    // Button i stands for (first + i) mod 12.
    void setRootsFrom(int first);
};

#endif
