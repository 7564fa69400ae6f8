#ifndef UI_INSTRUMENTTUNERFORM_H
#define UI_INSTRUMENTTUNERFORM_H

// Static layout of the main window: actions, toolbars, the nested layouts that
// the window fills with its views, the reference frequency controls and the
// read-outs of the analysis. Written by hand in the shape uic would produce, so
// that the member order and the order of the connections are under our control.

#include <QtCore/QCoreApplication>
#include <QtCore/QVariant>
#include <QtGui/QIcon>
#include <QtWidgets/QAction>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QLCDNumber>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QWidget>

class Ui_InstrumentTunerForm
{
public:
    QAction* pauseAction;
    QAction* configAction;
    QAction* saveSettingsAction;
    QAction* helpAboutAction;
    QWidget* centralwidget;
    QVBoxLayout* vboxLayout;
    QHBoxLayout* hboxLayout;
    QVBoxLayout* vboxLayout1;
    QVBoxLayout* ui_graphLayout;
    QHBoxLayout* hboxLayout1;
    QPushButton* ui_btnKeepErrorHistory;
    QVBoxLayout* vboxLayout2;
    QHBoxLayout* ui_errorLayout;
    QVBoxLayout* ui_volumeLayout;
    QVBoxLayout* ui_sampleLayout;
    QVBoxLayout* ui_formantsLayout;
    QVBoxLayout* ui_FT;
    QVBoxLayout* ui_rightLayout;
    QProgressBar* ui_pgbVolume;
    QLabel* ui_lblSoundStability;
    QVBoxLayout* vboxLayout3;
    QHBoxLayout* hboxLayout2;
    QLabel* textLabel8;
    QSpinBox* ui_spinAFreq;
    QHBoxLayout* hboxLayout3;
    QLabel* ui_lblA3Offset;
    QSpinBox* ui_spinA3Offset;
    QVBoxLayout* ui_dialTuneLayout;
    QLCDNumber* ui_txtFreq;
    QHBoxLayout* hboxLayout4;
    QLabel* ui_txtNote;
    QLCDNumber* ui_txtNoteFreq;
    QVBoxLayout* ui_microtonalLayout;
    QToolBar* ui_tbViews;
    QToolBar* ui_tbButtons;

    void setupUi(QMainWindow* w)
    {
        if (w->objectName().isEmpty()) w->setObjectName(QString::fromUtf8("InstrumentTunerForm"));
        w->resize(532, 448);
        w->setWindowIcon(QIcon(QString::fromUtf8(":/orfe/ui/images/orfe.svg")));

        pauseAction = new QAction(w);
        pauseAction->setObjectName(QString::fromUtf8("pauseAction"));
        pauseAction->setIcon(QIcon(QString::fromUtf8(":/orfe/ui/images/pause.svg")));
        pauseAction->setCheckable(true);
        pauseAction->setChecked(false);
        configAction = new QAction(w);
        configAction->setObjectName(QString::fromUtf8("configAction"));
        configAction->setIcon(QIcon(QString::fromUtf8(":/orfe/ui/images/settings.svg")));
        saveSettingsAction = new QAction(w);
        saveSettingsAction->setObjectName(QString::fromUtf8("saveSettingsAction"));
        saveSettingsAction->setIcon(QIcon(QString::fromUtf8(":/orfe/ui/images/save.svg")));
        helpAboutAction = new QAction(w);
        helpAboutAction->setObjectName(QString::fromUtf8("helpAboutAction"));
        helpAboutAction->setIcon(QIcon(QString::fromUtf8(":/orfe/ui/images/about.svg")));

        centralwidget = new QWidget(w);
        centralwidget->setObjectName(QString::fromUtf8("centralwidget"));
        vboxLayout = new QVBoxLayout(centralwidget);
        vboxLayout->setObjectName(QString::fromUtf8("vboxLayout"));
        vboxLayout->setSpacing(6);
        vboxLayout->setContentsMargins(11, 11, 11, 11);
        hboxLayout = newLayout<QHBoxLayout>("hboxLayout");
        vboxLayout1 = newLayout<QVBoxLayout>("vboxLayout1");
        ui_graphLayout = newLayout<QVBoxLayout>("ui_graphLayout");
        vboxLayout1->addLayout(ui_graphLayout);
        hboxLayout1 = newLayout<QHBoxLayout>("hboxLayout1");

        ui_btnKeepErrorHistory = new QPushButton(centralwidget);
        ui_btnKeepErrorHistory->setObjectName(QString::fromUtf8("ui_btnKeepErrorHistory"));
        ui_btnKeepErrorHistory->setMaximumWidth(20);
        ui_btnKeepErrorHistory->setFocusPolicy(Qt::NoFocus);
        ui_btnKeepErrorHistory->setCheckable(true);
        ui_btnKeepErrorHistory->setChecked(false);
        hboxLayout1->addWidget(ui_btnKeepErrorHistory);

        vboxLayout2 = newLayout<QVBoxLayout>("vboxLayout2");
        ui_errorLayout = newLayout<QHBoxLayout>("ui_errorLayout");
        vboxLayout2->addLayout(ui_errorLayout);
        ui_volumeLayout = newLayout<QVBoxLayout>("ui_volumeLayout");
        vboxLayout2->addLayout(ui_volumeLayout);
        hboxLayout1->addLayout(vboxLayout2);
        vboxLayout1->addLayout(hboxLayout1);
        ui_sampleLayout = newLayout<QVBoxLayout>("ui_sampleLayout");
        vboxLayout1->addLayout(ui_sampleLayout);
        ui_formantsLayout = newLayout<QVBoxLayout>("ui_formantsLayout");
        vboxLayout1->addLayout(ui_formantsLayout);
        ui_FT = newLayout<QVBoxLayout>("ui_FT");
        vboxLayout1->addLayout(ui_FT);
        // The left column takes the width the right column leaves.
        hboxLayout->addLayout(vboxLayout1, 1);

        ui_rightLayout = newLayout<QVBoxLayout>("ui_rightLayout");
        ui_pgbVolume = new QProgressBar(centralwidget);
        ui_pgbVolume->setObjectName(QString::fromUtf8("ui_pgbVolume"));
        ui_pgbVolume->setMaximumHeight(14);
        ui_pgbVolume->setTextVisible(false);
        ui_pgbVolume->setFormat(QString());
        ui_pgbVolume->setRange(0, 100);
        ui_pgbVolume->setValue(0);
        ui_rightLayout->addWidget(ui_pgbVolume);

        ui_lblSoundStability = new QLabel(centralwidget);
        ui_lblSoundStability->setObjectName(QString::fromUtf8("ui_lblSoundStability"));
        ui_lblSoundStability->setMinimumWidth(300);
        QFont stability_font;
        stability_font.setPointSize(11);
        ui_lblSoundStability->setFont(stability_font);
        ui_lblSoundStability->setAutoFillBackground(true);
        ui_lblSoundStability->setAlignment(Qt::AlignCenter);
        ui_lblSoundStability->setWordWrap(true);
        ui_rightLayout->addWidget(ui_lblSoundStability);

        vboxLayout3 = newLayout<QVBoxLayout>("vboxLayout3");
        hboxLayout2 = newLayout<QHBoxLayout>("hboxLayout2");
        textLabel8 = new QLabel(centralwidget);
        textLabel8->setObjectName(QString::fromUtf8("textLabel8"));
        QFont label8_font;
        label8_font.setPointSize(10);
        label8_font.setBold(true);
        textLabel8->setFont(label8_font);
        textLabel8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        textLabel8->setWordWrap(false);
        hboxLayout2->addWidget(textLabel8);
        ui_spinAFreq = new QSpinBox(centralwidget);
        ui_spinAFreq->setObjectName(QString::fromUtf8("ui_spinAFreq"));
        ui_spinAFreq->setMaximumWidth(100);
        QFont afreq_font;
        afreq_font.setPointSize(14);
        afreq_font.setBold(true);
        ui_spinAFreq->setFont(afreq_font);
        ui_spinAFreq->setFocusPolicy(Qt::NoFocus);
        ui_spinAFreq->setRange(220, 880);
        ui_spinAFreq->setSingleStep(1);
        ui_spinAFreq->setValue(440);
        hboxLayout2->addWidget(ui_spinAFreq);
        vboxLayout3->addLayout(hboxLayout2);

        hboxLayout3 = newLayout<QHBoxLayout>("hboxLayout3");
        ui_lblA3Offset = new QLabel(centralwidget);
        ui_lblA3Offset->setObjectName(QString::fromUtf8("ui_lblA3Offset"));
        ui_lblA3Offset->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ui_lblA3Offset->setWordWrap(false);
        hboxLayout3->addWidget(ui_lblA3Offset);
        ui_spinA3Offset = new QSpinBox(centralwidget);
        ui_spinA3Offset->setObjectName(QString::fromUtf8("ui_spinA3Offset"));
        ui_spinA3Offset->setMaximumWidth(100);
        ui_spinA3Offset->setFocusPolicy(Qt::NoFocus);
        ui_spinA3Offset->setRange(-50, 50);
        ui_spinA3Offset->setSingleStep(1);
        ui_spinA3Offset->setValue(0);
        hboxLayout3->addWidget(ui_spinA3Offset);
        vboxLayout3->addLayout(hboxLayout3);
        ui_rightLayout->addLayout(vboxLayout3);

        ui_dialTuneLayout = newLayout<QVBoxLayout>("ui_dialTuneLayout");
        ui_rightLayout->addLayout(ui_dialTuneLayout, 1);

        ui_txtFreq = new QLCDNumber(centralwidget);
        ui_txtFreq->setObjectName(QString::fromUtf8("ui_txtFreq"));
        ui_txtFreq->setMinimumHeight(25);
        ui_txtFreq->setFrameShape(QFrame::NoFrame);
        ui_txtFreq->setFrameShadow(QFrame::Plain);
        ui_txtFreq->setSegmentStyle(QLCDNumber::Flat);
        ui_rightLayout->addWidget(ui_txtFreq);

        hboxLayout4 = newLayout<QHBoxLayout>("hboxLayout4");
        ui_txtNote = new QLabel(centralwidget);
        ui_txtNote->setObjectName(QString::fromUtf8("ui_txtNote"));
        QFont note_font;
        note_font.setPointSize(28);
        ui_txtNote->setFont(note_font);
        ui_txtNote->setAlignment(Qt::AlignCenter);
        ui_txtNote->setWordWrap(false);
        hboxLayout4->addWidget(ui_txtNote);
        ui_txtNoteFreq = new QLCDNumber(centralwidget);
        ui_txtNoteFreq->setObjectName(QString::fromUtf8("ui_txtNoteFreq"));
        ui_txtNoteFreq->setMaximumHeight(25);
        ui_txtNoteFreq->setFrameShape(QFrame::NoFrame);
        ui_txtNoteFreq->setFrameShadow(QFrame::Plain);
        ui_txtNoteFreq->setSegmentStyle(QLCDNumber::Flat);
        hboxLayout4->addWidget(ui_txtNoteFreq);
        ui_rightLayout->addLayout(hboxLayout4);
        hboxLayout->addLayout(ui_rightLayout);
        vboxLayout->addLayout(hboxLayout, 1);

        ui_microtonalLayout = newLayout<QVBoxLayout>("ui_microtonalLayout");
        vboxLayout->addLayout(ui_microtonalLayout);
        w->setCentralWidget(centralwidget);

        ui_tbViews = new QToolBar(w);
        ui_tbViews->setObjectName(QString::fromUtf8("ui_tbViews"));
        ui_tbViews->setContextMenuPolicy(Qt::PreventContextMenu);
        w->addToolBar(Qt::TopToolBarArea, ui_tbViews);
        ui_tbButtons = new QToolBar(w);
        ui_tbButtons->setObjectName(QString::fromUtf8("ui_tbButtons"));
        ui_tbButtons->setContextMenuPolicy(Qt::PreventContextMenu);
        w->addToolBar(Qt::TopToolBarArea, ui_tbButtons);
        ui_tbButtons->addAction(pauseAction);
        ui_tbButtons->addAction(configAction);
        ui_tbButtons->addAction(saveSettingsAction);
        ui_tbButtons->addAction(helpAboutAction);

        retranslateUi(w);

        QObject::connect(helpAboutAction, SIGNAL(triggered()), w, SLOT(helpAbout()));
        QObject::connect(configAction, SIGNAL(triggered()), w, SLOT(configure()));
        QObject::connect(pauseAction, SIGNAL(toggled(bool)), w, SLOT(pause(bool)));
        QObject::connect(ui_spinAFreq, SIGNAL(valueChanged(int)), w, SLOT(ui_spinAFreq_valueChanged(int)));
        QObject::connect(saveSettingsAction, SIGNAL(triggered()), w, SLOT(saveSettings()));
        QObject::connect(ui_spinA3Offset, SIGNAL(valueChanged(int)), w,
                         SLOT(ui_spinAOffset_valueChanged(int)));

        QMetaObject::connectSlotsByName(w);
    }

    void retranslateUi(QMainWindow* w)
    {
        w->setWindowTitle(QCoreApplication::translate("InstrumentTunerForm", "Orfeon"));
        pauseAction->setText(QCoreApplication::translate("InstrumentTunerForm", "Pause"));
        pauseAction->setStatusTip(QCoreApplication::translate(
            "InstrumentTunerForm", "Pause: the capture, the sound analysis and all views."));
        pauseAction->setWhatsThis(QCoreApplication::translate(
            "InstrumentTunerForm", "Pause: the capture, the sound analysis and all views."));
        pauseAction->setShortcut(QKeySequence(QCoreApplication::translate("InstrumentTunerForm", "Space")));
        configAction->setText(QCoreApplication::translate("InstrumentTunerForm", "Configure"));
        saveSettingsAction->setText(QCoreApplication::translate("InstrumentTunerForm", "Save settings"));
        saveSettingsAction->setStatusTip(QCoreApplication::translate(
            "InstrumentTunerForm", "Save configuration panel settings, views settings and the window size."));
        saveSettingsAction->setWhatsThis(QCoreApplication::translate(
            "InstrumentTunerForm", "Save configuration panel settings, views settings and the window size."));
        saveSettingsAction->setShortcut(
            QKeySequence(QCoreApplication::translate("InstrumentTunerForm", "Ctrl+S")));
        helpAboutAction->setText(QCoreApplication::translate("InstrumentTunerForm", "About"));
        helpAboutAction->setStatusTip(
            QCoreApplication::translate("InstrumentTunerForm", "Invoke the about box."));
        helpAboutAction->setWhatsThis(
            QCoreApplication::translate("InstrumentTunerForm", "Invoke the about box."));

        ui_btnKeepErrorHistory->setText(QCoreApplication::translate("InstrumentTunerForm", "K\ne\ne\np"));
        ui_btnKeepErrorHistory->setShortcut(
            QKeySequence(QCoreApplication::translate("InstrumentTunerForm", "K")));
        setTip(ui_btnKeepErrorHistory,
               QCoreApplication::translate("InstrumentTunerForm",
                                           "Keep the data in the error and volume views (shortcut \"k\")."));
        setTip(ui_pgbVolume,
               QCoreApplication::translate(
                   "InstrumentTunerForm",
                   "Volume in dB.\nComputed in the frequency domain, from the maximum bin.\nThe "
                   "maximum is reached when the signal energy is maximal NOT when the sound is "
                   "saturated in the time domain."));
        ui_lblSoundStability->setText(QCoreApplication::translate("InstrumentTunerForm", "Note Stability"));
        setTip(
            ui_lblSoundStability,
            QCoreApplication::translate(
                "InstrumentTunerForm",
                "According to the following colors:\nred       : the capture system is not working.\ngrey  "
                "   : the capture system is OK, but there is not enough sound.\norange : the analysis "
                "conditions are bad (like saturation)\ngreen   : a note is beeing analyzed and analysis "
                "conditions are OK."));
        textLabel8->setText(QCoreApplication::translate("InstrumentTunerForm", "Tuning Frequency"));
        ui_spinAFreq->setSuffix(QCoreApplication::translate("InstrumentTunerForm", " Hz"));
        setTip(ui_spinAFreq, QCoreApplication::translate("InstrumentTunerForm",
                                                         "The base tunning frequency (the A4 frequency)"));
        ui_lblA3Offset->setText(QCoreApplication::translate("InstrumentTunerForm", "Offset"));
        setTip(ui_lblA3Offset, QCoreApplication::translate("InstrumentTunerForm",
                                                           "Offset in cents from the base tuning frequency"));
        ui_spinA3Offset->setSuffix(QCoreApplication::translate("InstrumentTunerForm", " cents"));
        setTip(ui_spinA3Offset, QCoreApplication::translate(
                                    "InstrumentTunerForm", "Offset in cents from the base tuning frequency"));
        setTip(ui_txtFreq, QCoreApplication::translate("InstrumentTunerForm",
                                                       "The frequency of the current note in Hertz."));
        setTip(ui_txtNote, QCoreApplication::translate("InstrumentTunerForm", "The recognized note"));
        setTip(ui_txtNoteFreq,
               QCoreApplication::translate("InstrumentTunerForm",
                                           "The target frequency of the current note in Hertz."));
        ui_tbViews->setWindowTitle(QCoreApplication::translate("InstrumentTunerForm", "Views"));
        ui_tbButtons->setWindowTitle(QCoreApplication::translate("InstrumentTunerForm", "Settings"));
    }

private:
    static void setTip(QWidget* widget, const QString& tip)
    {
        widget->setToolTip(tip);
        widget->setWhatsThis(tip);
    }

    template <class Layout> Layout* newLayout(const char* name)
    {
        auto* layout = new Layout();
        layout->setObjectName(QString::fromUtf8(name));
        layout->setSpacing(6);
        return layout;
    }
};

namespace Ui {
class InstrumentTunerForm : public Ui_InstrumentTunerForm
{
};
} // namespace Ui

#endif
