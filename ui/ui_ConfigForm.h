#ifndef UI_CONFIGFORM_H
#define UI_CONFIGFORM_H

// Static layout of the configuration dialog. The initial state of every control
// set here is the program's factory setting: a control with no stored value
// keeps it. The object names double as settings keys, so they never change.

#include <QtCore/QCoreApplication>
#include <QtCore/QVariant>
#include <QtGui/QIcon>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QSlider>
#include <QtWidgets/QSpacerItem>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QWidget>

class Ui_ConfigForm
{
public:
    QVBoxLayout* vboxLayout;
    QTabWidget* tabWidget;
    QWidget* tabPageGeneral;
    QVBoxLayout* vboxLayout1;
    QCheckBox* ui_chkFullScreen;
    QCheckBox* ui_chkAutoSaveOnExit;
    QHBoxLayout* hboxLayout;
    QLabel* textLabel1_7_1;
    QComboBox* ui_cbTuning;
    QHBoxLayout* hboxLayout1;
    QLabel* textLabel1_7;
    QVBoxLayout* vboxLayout2;
    QSpinBox* ui_spinTransposition;
    QLabel* ui_lblTransposition;
    QHBoxLayout* hboxLayout2;
    QLabel* textLabel3_3;
    QComboBox* ui_cbNotesName;
    QCheckBox* ui_chkShowA4Offset;
    QSpacerItem* spacerGeneralTop;
    QLabel* textLabel1_5;
    QSpacerItem* spacerGeneralBottom;
    QWidget* tabPageCaptureSystem;
    QVBoxLayout* verticalLayout;
    QHBoxLayout* hboxLayout3;
    QLabel* ui_lblSelectedCaptureSystem;
    QComboBox* ui_cbTransports;
    QHBoxLayout* hboxLayout4;
    QCheckBox* ui_chkAutoDetect;
    QPushButton* ui_btnAutoDetect;
    QGroupBox* ui_grpJACK;
    QVBoxLayout* vboxLayout3;
    QHBoxLayout* hboxLayout5;
    QLabel* textLabel1;
    QLineEdit* lineEdit7;
    QHBoxLayout* hboxLayout6;
    QCheckBox* ui_chkJACKAutoConnect;
    QLineEdit* ui_txtJACKSourcePort;
    QHBoxLayout* hboxLayout7;
    QLabel* textLabel3;
    QLabel* ui_lblJACKSamplingRate;
    QGroupBox* ui_grpALSA;
    QVBoxLayout* vboxLayout4;
    QHBoxLayout* hboxLayout8;
    QLabel* textLabel1_2;
    QLineEdit* ui_txtALSAPCMName;
    QHBoxLayout* hboxLayout9;
    QLabel* textLabel4;
    QHBoxLayout* _2;
    QSpinBox* ui_spinALSASamplingRate;
    QCheckBox* ui_chkALSASamplingRateMax;
    QLabel* textLabel1_5_2_2;
    QCheckBox* ui_chkALSAMixMultipleChannels;
    QGroupBox* ui_grpOSS;
    QVBoxLayout* vboxLayout5;
    QHBoxLayout* hboxLayout10;
    QLabel* textLabel1_2_2;
    QLineEdit* ui_txtOSSPCMName;
    QHBoxLayout* hboxLayout11;
    QLabel* textLabel4_3;
    QHBoxLayout* horizontalLayout;
    QSpinBox* ui_spinOSSSamplingRate;
    QCheckBox* ui_chkOSSSamplingRateMax;
    QLabel* textLabel1_5_2;
    QCheckBox* ui_chkOSSMixMultipleChannels;
    QGroupBox* ui_grpPortAudio;
    QVBoxLayout* vboxLayout6;
    QHBoxLayout* hboxLayout12;
    QLabel* textLabel1_8;
    QComboBox* ui_cbPortAudioDeviceName;
    QHBoxLayout* hboxLayout13;
    QLabel* textLabel4_2;
    QHBoxLayout* horizontalLayout_2;
    QSpinBox* ui_spinPortAudioSamplingRate;
    QCheckBox* ui_chkPortAudioSamplingRateMax;
    QLabel* textLabel1_5_2_2_2;
    QCheckBox* ui_chkPortAudioMixMultipleChannels;
    QGroupBox* ui_grpQt;
    QVBoxLayout* _6;
    QHBoxLayout* _7;
    QLabel* textLabel1_10;
    QComboBox* ui_cbQtDeviceName;
    QHBoxLayout* _8;
    QLabel* textLabel4_5;
    QHBoxLayout* horizontalLayout_4;
    QSpinBox* ui_spinQtSamplingRate;
    QCheckBox* ui_chkQtSamplingRateMax;
    QLabel* textLabel1_5_2_2_4;
    QCheckBox* ui_chkQtMixMultipleChannels;
    QSpacerItem* spacerCapture;
    QWidget* tabPageSoundAnalysis;
    QVBoxLayout* vboxLayout7;
    QHBoxLayout* hboxLayout14;
    QLabel* textLabel1_4;
    QSpinBox* ui_spinRefreshTime;
    QHBoxLayout* hboxLayout15;
    QLabel* textLabel7;
    QVBoxLayout* vboxLayout8;
    QSpinBox* ui_spinMinHT;
    QLabel* ui_txtMinHT;
    QVBoxLayout* vboxLayout9;
    QSpinBox* ui_spinMaxHT;
    QLabel* ui_txtMaxHT;
    QGroupBox* ui_grpRangeFiltering;
    QVBoxLayout* vboxLayout10;
    QRadioButton* ui_rdRangeFilteringRectangular;
    QRadioButton* ui_rdRangeFilteringFIR;
    QGroupBox* groupBox7_2_3;
    QGridLayout* gridLayout;
    QHBoxLayout* hboxLayout16;
    QSlider* ui_sldVolumeTreshold;
    QSpinBox* ui_spinVolumeTreshold;
    QHBoxLayout* hboxLayout17;
    QSlider* ui_sldCombedFFTAudibilityRatio;
    QSpinBox* ui_spinCombedFFTAudibilityRatio;
    QCheckBox* ui_chkAlgoUseSubHarmTresh;
    QHBoxLayout* hboxLayout18;
    QSlider* ui_sldWindowSizeFactor;
    QSpinBox* ui_spinWindowSizeFactor;
    QLabel* textLabel1_6;
    QLabel* ui_lblDetector;
    QComboBox* ui_cbDetector;
    QLabel* textLabel3_2;
    QGroupBox* up_grpFreqRefinement;
    QGridLayout* gridLayout1;
    QRadioButton* ui_rdUseFreqRefinement;
    QRadioButton* ui_rdUseTimeRefinement;
    QHBoxLayout* hboxLayout19;
    QSlider* ui_sldTimeRefinMaxPeriod;
    QSpinBox* ui_spinTimeRefinMaxPeriod;
    QHBoxLayout* hboxLayout20;
    QSlider* ui_sldFreqRefinMaxHarm;
    QSpinBox* ui_spinFreqRefinMaxHarm;
    QGroupBox* ui_grpQuantizer;
    QVBoxLayout* vboxLayout11;
    QHBoxLayout* hboxLayout21;
    QLabel* textLabel1_3;
    QSpinBox* ui_spinErrorLatency;
    QSpacerItem* spacerAnalysis;
    QHBoxLayout* hboxLayout22;
    QPushButton* ui_btnRestoreFactorySettings;
    QSpacerItem* spacerButtons;
    QPushButton* buttonOk;
    QPushButton* buttonCancel;

    void setupUi(QDialog* d)
    {
        if (d->objectName().isEmpty()) d->setObjectName(QString::fromUtf8("ConfigForm"));
        d->resize(672, 946);
        d->setSizeGripEnabled(true);
        // Not part of the resource collection: the platform's default icon shows.
        d->setWindowIcon(QIcon(QString::fromUtf8(":/orfe/ui/images/config.png")));

        vboxLayout = new QVBoxLayout(d);
        vboxLayout->setObjectName(QString::fromUtf8("vboxLayout"));
        vboxLayout->setSpacing(6);
        vboxLayout->setContentsMargins(11, 11, 11, 11);
        tabWidget = make<QTabWidget>(d, "tabWidget");

        // General
        tabPageGeneral = make<QWidget>(tabWidget, "tabPageGeneral");
        vboxLayout1 = pageLayout<QVBoxLayout>(tabPageGeneral, "vboxLayout1");
        ui_chkFullScreen = make<QCheckBox>(tabPageGeneral, "ui_chkFullScreen");
        vboxLayout1->addWidget(ui_chkFullScreen);
        ui_chkAutoSaveOnExit = make<QCheckBox>(tabPageGeneral, "ui_chkAutoSaveOnExit");
        vboxLayout1->addWidget(ui_chkAutoSaveOnExit);
        hboxLayout = layout<QHBoxLayout>("hboxLayout");
        textLabel1_7_1 = make<QLabel>(tabPageGeneral, "textLabel1_7_1");
        hboxLayout->addWidget(textLabel1_7_1);
        ui_cbTuning = make<QComboBox>(tabPageGeneral, "ui_cbTuning");
        for (int i = 0; i < 5; ++i)
            ui_cbTuning->addItem(QString());
        hboxLayout->addWidget(ui_cbTuning);
        vboxLayout1->addLayout(hboxLayout);
        hboxLayout1 = layout<QHBoxLayout>("hboxLayout1");
        textLabel1_7 = make<QLabel>(tabPageGeneral, "textLabel1_7");
        hboxLayout1->addWidget(textLabel1_7);
        vboxLayout2 = layout<QVBoxLayout>("vboxLayout2");
        ui_spinTransposition = spin(tabPageGeneral, "ui_spinTransposition", -96, 96, 0);
        vboxLayout2->addWidget(ui_spinTransposition);
        ui_lblTransposition = make<QLabel>(tabPageGeneral, "ui_lblTransposition");
        vboxLayout2->addWidget(ui_lblTransposition);
        hboxLayout1->addLayout(vboxLayout2);
        vboxLayout1->addLayout(hboxLayout1);
        hboxLayout2 = layout<QHBoxLayout>("hboxLayout2");
        textLabel3_3 = make<QLabel>(tabPageGeneral, "textLabel3_3");
        hboxLayout2->addWidget(textLabel3_3);
        ui_cbNotesName = make<QComboBox>(tabPageGeneral, "ui_cbNotesName");
        for (int i = 0; i < 5; ++i)
            ui_cbNotesName->addItem(QString());
        hboxLayout2->addWidget(ui_cbNotesName);
        vboxLayout1->addLayout(hboxLayout2);
        ui_chkShowA4Offset = make<QCheckBox>(tabPageGeneral, "ui_chkShowA4Offset");
        vboxLayout1->addWidget(ui_chkShowA4Offset);
        spacerGeneralTop = new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding);
        vboxLayout1->addItem(spacerGeneralTop);
        textLabel1_5 = make<QLabel>(tabPageGeneral, "textLabel1_5");
        textLabel1_5->setTextFormat(Qt::RichText);
        textLabel1_5->setWordWrap(true);
        vboxLayout1->addWidget(textLabel1_5);
        spacerGeneralBottom = new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding);
        vboxLayout1->addItem(spacerGeneralBottom);
        tabWidget->addTab(tabPageGeneral, QString());

        // Capture System
        tabPageCaptureSystem = make<QWidget>(tabWidget, "tabPageCaptureSystem");
        verticalLayout = pageLayout<QVBoxLayout>(tabPageCaptureSystem, "verticalLayout");
        hboxLayout3 = layout<QHBoxLayout>("hboxLayout3");
        ui_lblSelectedCaptureSystem = make<QLabel>(tabPageCaptureSystem, "ui_lblSelectedCaptureSystem");
        hboxLayout3->addWidget(ui_lblSelectedCaptureSystem);
        ui_cbTransports = make<QComboBox>(tabPageCaptureSystem, "ui_cbTransports");
        hboxLayout3->addWidget(ui_cbTransports, 1);
        verticalLayout->addLayout(hboxLayout3);
        hboxLayout4 = layout<QHBoxLayout>("hboxLayout4");
        ui_chkAutoDetect = make<QCheckBox>(tabPageCaptureSystem, "ui_chkAutoDetect");
        ui_chkAutoDetect->setChecked(true);
        hboxLayout4->addWidget(ui_chkAutoDetect);
        ui_btnAutoDetect = make<QPushButton>(tabPageCaptureSystem, "ui_btnAutoDetect");
        hboxLayout4->addWidget(ui_btnAutoDetect);
        verticalLayout->addLayout(hboxLayout4);

        ui_grpJACK = make<QGroupBox>(tabPageCaptureSystem, "ui_grpJACK");
        vboxLayout3 = pageLayout<QVBoxLayout>(ui_grpJACK, "vboxLayout3");
        hboxLayout5 = layout<QHBoxLayout>("hboxLayout5");
        textLabel1 = make<QLabel>(ui_grpJACK, "textLabel1");
        hboxLayout5->addWidget(textLabel1);
        lineEdit7 = make<QLineEdit>(ui_grpJACK, "lineEdit7");
        lineEdit7->setEnabled(false); // display only: the client name is fixed
        hboxLayout5->addWidget(lineEdit7);
        vboxLayout3->addLayout(hboxLayout5);
        hboxLayout6 = layout<QHBoxLayout>("hboxLayout6");
        ui_chkJACKAutoConnect = make<QCheckBox>(ui_grpJACK, "ui_chkJACKAutoConnect");
        hboxLayout6->addWidget(ui_chkJACKAutoConnect);
        ui_txtJACKSourcePort = make<QLineEdit>(ui_grpJACK, "ui_txtJACKSourcePort");
        ui_txtJACKSourcePort->setEnabled(false);
        hboxLayout6->addWidget(ui_txtJACKSourcePort);
        vboxLayout3->addLayout(hboxLayout6);
        hboxLayout7 = layout<QHBoxLayout>("hboxLayout7");
        textLabel3 = make<QLabel>(ui_grpJACK, "textLabel3");
        hboxLayout7->addWidget(textLabel3);
        ui_lblJACKSamplingRate = make<QLabel>(ui_grpJACK, "ui_lblJACKSamplingRate");
        hboxLayout7->addWidget(ui_lblJACKSamplingRate);
        vboxLayout3->addLayout(hboxLayout7);
        verticalLayout->addWidget(ui_grpJACK);

        ui_grpALSA = make<QGroupBox>(tabPageCaptureSystem, "ui_grpALSA");
        vboxLayout4 = pageLayout<QVBoxLayout>(ui_grpALSA, "vboxLayout4");
        hboxLayout8 = layout<QHBoxLayout>("hboxLayout8");
        textLabel1_2 = make<QLabel>(ui_grpALSA, "textLabel1_2");
        hboxLayout8->addWidget(textLabel1_2);
        ui_txtALSAPCMName = make<QLineEdit>(ui_grpALSA, "ui_txtALSAPCMName");
        hboxLayout8->addWidget(ui_txtALSAPCMName);
        vboxLayout4->addLayout(hboxLayout8);
        hboxLayout9 = layout<QHBoxLayout>("hboxLayout9");
        textLabel4 = make<QLabel>(ui_grpALSA, "textLabel4");
        hboxLayout9->addWidget(textLabel4);
        _2 = layout<QHBoxLayout>("_2");
        ui_spinALSASamplingRate = spin(ui_grpALSA, "ui_spinALSASamplingRate", 8000, 96000, 22050);
        _2->addWidget(ui_spinALSASamplingRate);
        ui_chkALSASamplingRateMax = make<QCheckBox>(ui_grpALSA, "ui_chkALSASamplingRateMax");
        _2->addWidget(ui_chkALSASamplingRateMax);
        hboxLayout9->addLayout(_2);
        vboxLayout4->addLayout(hboxLayout9);
        textLabel1_5_2_2 = make<QLabel>(ui_grpALSA, "textLabel1_5_2_2");
        textLabel1_5_2_2->setWordWrap(true);
        vboxLayout4->addWidget(textLabel1_5_2_2);
        ui_chkALSAMixMultipleChannels = make<QCheckBox>(ui_grpALSA, "ui_chkALSAMixMultipleChannels");
        vboxLayout4->addWidget(ui_chkALSAMixMultipleChannels);
        verticalLayout->addWidget(ui_grpALSA);

        ui_grpOSS = make<QGroupBox>(tabPageCaptureSystem, "ui_grpOSS");
        vboxLayout5 = pageLayout<QVBoxLayout>(ui_grpOSS, "vboxLayout5");
        hboxLayout10 = layout<QHBoxLayout>("hboxLayout10");
        textLabel1_2_2 = make<QLabel>(ui_grpOSS, "textLabel1_2_2");
        hboxLayout10->addWidget(textLabel1_2_2);
        ui_txtOSSPCMName = make<QLineEdit>(ui_grpOSS, "ui_txtOSSPCMName");
        hboxLayout10->addWidget(ui_txtOSSPCMName);
        vboxLayout5->addLayout(hboxLayout10);
        hboxLayout11 = layout<QHBoxLayout>("hboxLayout11");
        textLabel4_3 = make<QLabel>(ui_grpOSS, "textLabel4_3");
        hboxLayout11->addWidget(textLabel4_3);
        horizontalLayout = layout<QHBoxLayout>("horizontalLayout");
        ui_spinOSSSamplingRate = spin(ui_grpOSS, "ui_spinOSSSamplingRate", 8000, 96000, 22050);
        horizontalLayout->addWidget(ui_spinOSSSamplingRate);
        ui_chkOSSSamplingRateMax = make<QCheckBox>(ui_grpOSS, "ui_chkOSSSamplingRateMax");
        horizontalLayout->addWidget(ui_chkOSSSamplingRateMax);
        hboxLayout11->addLayout(horizontalLayout);
        vboxLayout5->addLayout(hboxLayout11);
        textLabel1_5_2 = make<QLabel>(ui_grpOSS, "textLabel1_5_2");
        textLabel1_5_2->setWordWrap(true);
        vboxLayout5->addWidget(textLabel1_5_2);
        ui_chkOSSMixMultipleChannels = make<QCheckBox>(ui_grpOSS, "ui_chkOSSMixMultipleChannels");
        vboxLayout5->addWidget(ui_chkOSSMixMultipleChannels);
        verticalLayout->addWidget(ui_grpOSS);

        ui_grpPortAudio = make<QGroupBox>(tabPageCaptureSystem, "ui_grpPortAudio");
        vboxLayout6 = pageLayout<QVBoxLayout>(ui_grpPortAudio, "vboxLayout6");
        hboxLayout12 = layout<QHBoxLayout>("hboxLayout12");
        textLabel1_8 = make<QLabel>(ui_grpPortAudio, "textLabel1_8");
        hboxLayout12->addWidget(textLabel1_8);
        ui_cbPortAudioDeviceName = make<QComboBox>(ui_grpPortAudio, "ui_cbPortAudioDeviceName");
        ui_cbPortAudioDeviceName->addItem(QString());
        hboxLayout12->addWidget(ui_cbPortAudioDeviceName, 1);
        vboxLayout6->addLayout(hboxLayout12);
        hboxLayout13 = layout<QHBoxLayout>("hboxLayout13");
        textLabel4_2 = make<QLabel>(ui_grpPortAudio, "textLabel4_2");
        hboxLayout13->addWidget(textLabel4_2);
        horizontalLayout_2 = layout<QHBoxLayout>("horizontalLayout_2");
        ui_spinPortAudioSamplingRate =
            spin(ui_grpPortAudio, "ui_spinPortAudioSamplingRate", 8000, 96000, 22050);
        horizontalLayout_2->addWidget(ui_spinPortAudioSamplingRate);
        ui_chkPortAudioSamplingRateMax = make<QCheckBox>(ui_grpPortAudio, "ui_chkPortAudioSamplingRateMax");
        horizontalLayout_2->addWidget(ui_chkPortAudioSamplingRateMax);
        hboxLayout13->addLayout(horizontalLayout_2);
        vboxLayout6->addLayout(hboxLayout13);
        textLabel1_5_2_2_2 = make<QLabel>(ui_grpPortAudio, "textLabel1_5_2_2_2");
        textLabel1_5_2_2_2->setWordWrap(true);
        vboxLayout6->addWidget(textLabel1_5_2_2_2);
        ui_chkPortAudioMixMultipleChannels =
            make<QCheckBox>(ui_grpPortAudio, "ui_chkPortAudioMixMultipleChannels");
        vboxLayout6->addWidget(ui_chkPortAudioMixMultipleChannels);
        verticalLayout->addWidget(ui_grpPortAudio);

        ui_grpQt = make<QGroupBox>(tabPageCaptureSystem, "ui_grpQt");
        _6 = pageLayout<QVBoxLayout>(ui_grpQt, "_6");
        _7 = layout<QHBoxLayout>("_7");
        textLabel1_10 = make<QLabel>(ui_grpQt, "textLabel1_10");
        _7->addWidget(textLabel1_10);
        ui_cbQtDeviceName = make<QComboBox>(ui_grpQt, "ui_cbQtDeviceName");
        ui_cbQtDeviceName->addItem(QString());
        _7->addWidget(ui_cbQtDeviceName, 1);
        _6->addLayout(_7);
        _8 = layout<QHBoxLayout>("_8");
        textLabel4_5 = make<QLabel>(ui_grpQt, "textLabel4_5");
        _8->addWidget(textLabel4_5);
        horizontalLayout_4 = layout<QHBoxLayout>("horizontalLayout_4");
        ui_spinQtSamplingRate = spin(ui_grpQt, "ui_spinQtSamplingRate", 8000, 96000, 22050);
        horizontalLayout_4->addWidget(ui_spinQtSamplingRate);
        ui_chkQtSamplingRateMax = make<QCheckBox>(ui_grpQt, "ui_chkQtSamplingRateMax");
        horizontalLayout_4->addWidget(ui_chkQtSamplingRateMax);
        _8->addLayout(horizontalLayout_4);
        _6->addLayout(_8);
        textLabel1_5_2_2_4 = make<QLabel>(ui_grpQt, "textLabel1_5_2_2_4");
        textLabel1_5_2_2_4->setWordWrap(true);
        _6->addWidget(textLabel1_5_2_2_4);
        ui_chkQtMixMultipleChannels = make<QCheckBox>(ui_grpQt, "ui_chkQtMixMultipleChannels");
        _6->addWidget(ui_chkQtMixMultipleChannels);
        verticalLayout->addWidget(ui_grpQt);
        spacerCapture = new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding);
        verticalLayout->addItem(spacerCapture);
        tabWidget->addTab(tabPageCaptureSystem, QString());

        // Sound Analysis
        tabPageSoundAnalysis = make<QWidget>(tabWidget, "tabPageSoundAnalysis");
        vboxLayout7 = pageLayout<QVBoxLayout>(tabPageSoundAnalysis, "vboxLayout7");
        hboxLayout14 = layout<QHBoxLayout>("hboxLayout14");
        textLabel1_4 = make<QLabel>(tabPageSoundAnalysis, "textLabel1_4");
        hboxLayout14->addWidget(textLabel1_4);
        ui_spinRefreshTime = spin(tabPageSoundAnalysis, "ui_spinRefreshTime", 1, 2000, 20);
        hboxLayout14->addWidget(ui_spinRefreshTime);
        vboxLayout7->addLayout(hboxLayout14);
        hboxLayout15 = layout<QHBoxLayout>("hboxLayout15");
        textLabel7 = make<QLabel>(tabPageSoundAnalysis, "textLabel7");
        hboxLayout15->addWidget(textLabel7);
        vboxLayout8 = layout<QVBoxLayout>("vboxLayout8");
        ui_spinMinHT = spin(tabPageSoundAnalysis, "ui_spinMinHT", -96, 96, -36);
        vboxLayout8->addWidget(ui_spinMinHT);
        ui_txtMinHT = make<QLabel>(tabPageSoundAnalysis, "ui_txtMinHT");
        ui_txtMinHT->setAlignment(Qt::AlignCenter);
        vboxLayout8->addWidget(ui_txtMinHT);
        hboxLayout15->addLayout(vboxLayout8);
        vboxLayout9 = layout<QVBoxLayout>("vboxLayout9");
        ui_spinMaxHT = spin(tabPageSoundAnalysis, "ui_spinMaxHT", -96, 96, 48);
        vboxLayout9->addWidget(ui_spinMaxHT);
        ui_txtMaxHT = make<QLabel>(tabPageSoundAnalysis, "ui_txtMaxHT");
        ui_txtMaxHT->setAlignment(Qt::AlignCenter);
        vboxLayout9->addWidget(ui_txtMaxHT);
        hboxLayout15->addLayout(vboxLayout9);
        vboxLayout7->addLayout(hboxLayout15);

        ui_grpRangeFiltering = make<QGroupBox>(tabPageSoundAnalysis, "ui_grpRangeFiltering");
        ui_grpRangeFiltering->setCheckable(true);
        ui_grpRangeFiltering->setChecked(true);
        vboxLayout10 = pageLayout<QVBoxLayout>(ui_grpRangeFiltering, "vboxLayout10");
        ui_rdRangeFilteringRectangular =
            make<QRadioButton>(ui_grpRangeFiltering, "ui_rdRangeFilteringRectangular");
        ui_rdRangeFilteringRectangular->setChecked(true);
        vboxLayout10->addWidget(ui_rdRangeFilteringRectangular);
        ui_rdRangeFilteringFIR = make<QRadioButton>(ui_grpRangeFiltering, "ui_rdRangeFilteringFIR");
        ui_rdRangeFilteringFIR->setEnabled(false);
        vboxLayout10->addWidget(ui_rdRangeFilteringFIR);
        vboxLayout7->addWidget(ui_grpRangeFiltering);

        groupBox7_2_3 = make<QGroupBox>(tabPageSoundAnalysis, "groupBox7_2_3");
        gridLayout = pageLayout<QGridLayout>(groupBox7_2_3, "gridLayout");
        hboxLayout16 = layout<QHBoxLayout>("hboxLayout16");
        ui_sldVolumeTreshold = slider(groupBox7_2_3, "ui_sldVolumeTreshold", -100, 0, -28, 6);
        hboxLayout16->addWidget(ui_sldVolumeTreshold);
        ui_spinVolumeTreshold = spin(groupBox7_2_3, "ui_spinVolumeTreshold", -100, 0, -28);
        hboxLayout16->addWidget(ui_spinVolumeTreshold);
        gridLayout->addLayout(hboxLayout16, 1, 1);
        hboxLayout17 = layout<QHBoxLayout>("hboxLayout17");
        ui_sldCombedFFTAudibilityRatio =
            slider(groupBox7_2_3, "ui_sldCombedFFTAudibilityRatio", 0, 100, 15, 6);
        ui_sldCombedFFTAudibilityRatio->setEnabled(false);
        hboxLayout17->addWidget(ui_sldCombedFFTAudibilityRatio);
        ui_spinCombedFFTAudibilityRatio = spin(groupBox7_2_3, "ui_spinCombedFFTAudibilityRatio", 0, 100, 15);
        ui_spinCombedFFTAudibilityRatio->setEnabled(false);
        hboxLayout17->addWidget(ui_spinCombedFFTAudibilityRatio);
        gridLayout->addLayout(hboxLayout17, 3, 1);
        ui_chkAlgoUseSubHarmTresh = make<QCheckBox>(groupBox7_2_3, "ui_chkAlgoUseSubHarmTresh");
        gridLayout->addWidget(ui_chkAlgoUseSubHarmTresh, 3, 0);
        hboxLayout18 = layout<QHBoxLayout>("hboxLayout18");
        ui_sldWindowSizeFactor = slider(groupBox7_2_3, "ui_sldWindowSizeFactor", 1, 8, 4, 1);
        ui_sldWindowSizeFactor->setPageStep(10);
        hboxLayout18->addWidget(ui_sldWindowSizeFactor);
        ui_spinWindowSizeFactor = spin(groupBox7_2_3, "ui_spinWindowSizeFactor", 1, 8, 4);
        hboxLayout18->addWidget(ui_spinWindowSizeFactor);
        gridLayout->addLayout(hboxLayout18, 2, 1);
        textLabel1_6 = make<QLabel>(groupBox7_2_3, "textLabel1_6");
        gridLayout->addWidget(textLabel1_6, 2, 0);
        textLabel3_2 = make<QLabel>(groupBox7_2_3, "textLabel3_2");
        gridLayout->addWidget(textLabel3_2, 1, 0);
        ui_lblDetector = make<QLabel>(groupBox7_2_3, "ui_lblDetector");
        gridLayout->addWidget(ui_lblDetector, 0, 0);
        ui_cbDetector = make<QComboBox>(groupBox7_2_3, "ui_cbDetector");
        for (int i = 0; i < 2; ++i)
            ui_cbDetector->addItem(QString());
        gridLayout->addWidget(ui_cbDetector, 0, 1);
        vboxLayout7->addWidget(groupBox7_2_3);

        up_grpFreqRefinement = make<QGroupBox>(tabPageSoundAnalysis, "up_grpFreqRefinement");
        up_grpFreqRefinement->setCheckable(true);
        up_grpFreqRefinement->setChecked(true);
        gridLayout1 = pageLayout<QGridLayout>(up_grpFreqRefinement, "gridLayout1");
        ui_rdUseFreqRefinement = make<QRadioButton>(up_grpFreqRefinement, "ui_rdUseFreqRefinement");
        gridLayout1->addWidget(ui_rdUseFreqRefinement, 1, 0);
        ui_rdUseTimeRefinement = make<QRadioButton>(up_grpFreqRefinement, "ui_rdUseTimeRefinement");
        ui_rdUseTimeRefinement->setChecked(true);
        gridLayout1->addWidget(ui_rdUseTimeRefinement, 0, 0);
        hboxLayout19 = layout<QHBoxLayout>("hboxLayout19");
        ui_sldTimeRefinMaxPeriod = slider(up_grpFreqRefinement, "ui_sldTimeRefinMaxPeriod", 1, 64, 4, 8);
        ui_sldTimeRefinMaxPeriod->setPageStep(10);
        hboxLayout19->addWidget(ui_sldTimeRefinMaxPeriod);
        ui_spinTimeRefinMaxPeriod = spin(up_grpFreqRefinement, "ui_spinTimeRefinMaxPeriod", 1, 64, 4);
        hboxLayout19->addWidget(ui_spinTimeRefinMaxPeriod);
        gridLayout1->addLayout(hboxLayout19, 0, 1);
        hboxLayout20 = layout<QHBoxLayout>("hboxLayout20");
        ui_sldFreqRefinMaxHarm = slider(up_grpFreqRefinement, "ui_sldFreqRefinMaxHarm", 1, 64, 8, 8);
        ui_sldFreqRefinMaxHarm->setPageStep(10);
        hboxLayout20->addWidget(ui_sldFreqRefinMaxHarm);
        ui_spinFreqRefinMaxHarm = spin(up_grpFreqRefinement, "ui_spinFreqRefinMaxHarm", 1, 64, 8);
        hboxLayout20->addWidget(ui_spinFreqRefinMaxHarm);
        gridLayout1->addLayout(hboxLayout20, 1, 1);
        vboxLayout7->addWidget(up_grpFreqRefinement);

        ui_grpQuantizer = make<QGroupBox>(tabPageSoundAnalysis, "ui_grpQuantizer");
        ui_grpQuantizer->setCheckable(true);
        ui_grpQuantizer->setChecked(true);
        vboxLayout11 = pageLayout<QVBoxLayout>(ui_grpQuantizer, "vboxLayout11");
        hboxLayout21 = layout<QHBoxLayout>("hboxLayout21");
        textLabel1_3 = make<QLabel>(ui_grpQuantizer, "textLabel1_3");
        hboxLayout21->addWidget(textLabel1_3);
        ui_spinErrorLatency = spin(ui_grpQuantizer, "ui_spinErrorLatency", 1, 4000, 125);
        hboxLayout21->addWidget(ui_spinErrorLatency);
        vboxLayout11->addLayout(hboxLayout21);
        vboxLayout7->addWidget(ui_grpQuantizer);
        spacerAnalysis = new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding);
        vboxLayout7->addItem(spacerAnalysis);
        tabWidget->addTab(tabPageSoundAnalysis, QString());
        vboxLayout->addWidget(tabWidget);

        // Buttons
        hboxLayout22 = layout<QHBoxLayout>("hboxLayout22");
        ui_btnRestoreFactorySettings = make<QPushButton>(d, "ui_btnRestoreFactorySettings");
        hboxLayout22->addWidget(ui_btnRestoreFactorySettings);
        spacerButtons = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
        hboxLayout22->addItem(spacerButtons);
        buttonOk = make<QPushButton>(d, "buttonOk");
        buttonOk->setAutoDefault(true);
        hboxLayout22->addWidget(buttonOk);
        buttonCancel = make<QPushButton>(d, "buttonCancel");
        buttonCancel->setAutoDefault(true);
        hboxLayout22->addWidget(buttonCancel);
        vboxLayout->addLayout(hboxLayout22);

        retranslateUi(d);

        QObject::connect(buttonOk, SIGNAL(clicked()), d, SLOT(accept()));
        QObject::connect(buttonCancel, SIGNAL(clicked()), d, SLOT(reject()));
        QObject::connect(ui_chkALSASamplingRateMax, SIGNAL(toggled(bool)), ui_spinALSASamplingRate,
                         SLOT(setDisabled(bool)));
        QObject::connect(ui_chkJACKAutoConnect, SIGNAL(toggled(bool)), ui_txtJACKSourcePort,
                         SLOT(setEnabled(bool)));
        QObject::connect(ui_chkPortAudioSamplingRateMax, SIGNAL(toggled(bool)), ui_spinPortAudioSamplingRate,
                         SLOT(setDisabled(bool)));
        QObject::connect(ui_chkOSSSamplingRateMax, SIGNAL(toggled(bool)), ui_spinOSSSamplingRate,
                         SLOT(setDisabled(bool)));
        pair(ui_sldCombedFFTAudibilityRatio, ui_spinCombedFFTAudibilityRatio);
        pair(ui_sldVolumeTreshold, ui_spinVolumeTreshold);
        QObject::connect(ui_chkAlgoUseSubHarmTresh, SIGNAL(toggled(bool)), ui_spinCombedFFTAudibilityRatio,
                         SLOT(setEnabled(bool)));
        QObject::connect(ui_chkAlgoUseSubHarmTresh, SIGNAL(toggled(bool)), ui_sldCombedFFTAudibilityRatio,
                         SLOT(setEnabled(bool)));
        pair(ui_sldFreqRefinMaxHarm, ui_spinFreqRefinMaxHarm);
        pair(ui_sldWindowSizeFactor, ui_spinWindowSizeFactor);
        pair(ui_sldTimeRefinMaxPeriod, ui_spinTimeRefinMaxPeriod);

        tabWidget->setCurrentIndex(0);
        buttonOk->setDefault(true);

        QMetaObject::connectSlotsByName(d);
    }

    void retranslateUi(QDialog* d)
    {
        d->setWindowTitle(QCoreApplication::translate("ConfigForm", "Configuration"));

        ui_chkFullScreen->setText(QCoreApplication::translate("ConfigForm", "Start in full-screen"));
        tip(ui_chkFullScreen,
            QCoreApplication::translate("ConfigForm", "Raise the window to the whole screen when the program "
                                                      "is started\n(You can also use the shortcut 'f')."));
        ui_chkAutoSaveOnExit->setText(
            QCoreApplication::translate("ConfigForm", "Auto-save configuration and layout on exit"));
        textLabel1_7_1->setText(QCoreApplication::translate("ConfigForm", "Tuning scale"));
        const QString tuning_tip =
            QCoreApplication::translate("ConfigForm", "The used tuning scale to determine note frequency "
                                                      "values. Useful for tuning historic intruments.");
        tip(textLabel1_7_1, tuning_tip);
        tip(ui_cbTuning, tuning_tip);
        ui_cbTuning->setItemText(0, QCoreApplication::translate("ConfigForm", "Chromatic"));
        ui_cbTuning->setItemText(1, QCoreApplication::translate("ConfigForm", "Werckmeister III"));
        ui_cbTuning->setItemText(2, QCoreApplication::translate("ConfigForm", "Kirnberger III"));
        ui_cbTuning->setItemText(3, QCoreApplication::translate("ConfigForm", "Diatonic"));
        ui_cbTuning->setItemText(4, QCoreApplication::translate("ConfigForm", "Meantone (1/4)"));
        textLabel1_7->setText(QCoreApplication::translate("ConfigForm", "Transposition"));
        textLabel3_3->setText(QCoreApplication::translate("ConfigForm", "Note names"));
        const QString names_tip = QCoreApplication::translate(
            "ConfigForm",
            "Use localized note names. e.g.:\nanglo-saxon: C D E F G A B\nlatin: Do Re Mi Fa Sol La Si");
        tip(textLabel3_3, names_tip);
        tip(ui_cbNotesName, names_tip);
        ui_cbNotesName->setItemText(0, QCoreApplication::translate("ConfigForm", "Anglo-Saxon"));
        ui_cbNotesName->setItemText(1, QCoreApplication::translate("ConfigForm", "Latin"));
        ui_cbNotesName->setItemText(2, QCoreApplication::translate("ConfigForm", "German"));
        ui_cbNotesName->setItemText(3, QCoreApplication::translate("ConfigForm", "Hindustani"));
        ui_cbNotesName->setItemText(4, QCoreApplication::translate("ConfigForm", "Byzantine"));
        textLabel1_5->setText(QCoreApplication::translate(
            "ConfigForm",
            "<p><b>To get more options, right-click every view to show up their properties!</b></p>"));
        tabWidget->setTabText(tabWidget->indexOf(tabPageGeneral),
                              QCoreApplication::translate("ConfigForm", "General"));

        ui_lblSelectedCaptureSystem->setText(QCoreApplication::translate("ConfigForm", "The capture system"));
        tip(ui_lblSelectedCaptureSystem,
            QCoreApplication::translate("ConfigForm",
                                        "The capture system (e.g. JACK, ALSA, OSS, PortAudio)"));
        tip(ui_cbTransports,
            QCoreApplication::translate("ConfigForm",
                                        "Selected the capture system (e.g. JACK, ALSA, OSS, PortAudio)"));
        const QString detect_tip = QCoreApplication::translate(
            "ConfigForm", "Auto detect a working capture system at ORFE startup.");
        ui_chkAutoDetect->setText(
            QCoreApplication::translate("ConfigForm", "Auto-detect an available capture system at startup"));
        tip(ui_chkAutoDetect, detect_tip);
        ui_btnAutoDetect->setText(QCoreApplication::translate("ConfigForm", "Auto detect now"));
        tip(ui_btnAutoDetect, detect_tip);

        ui_grpJACK->setTitle(QCoreApplication::translate("ConfigForm", "JACK"));
        textLabel1->setText(QCoreApplication::translate("ConfigForm", "Client name"));
        const QString client_tip = QCoreApplication::translate(
            "ConfigForm", "The name of this ORFE instance in the JACK connections.");
        tip(textLabel1, client_tip);
        lineEdit7->setText(QCoreApplication::translate("ConfigForm", "orfe"));
        tip(lineEdit7, client_tip);
        ui_chkJACKAutoConnect->setText(
            QCoreApplication::translate("ConfigForm", "automatically connect to\u2026"));
        const QString connect_tip = QCoreApplication::translate(
            "ConfigForm",
            "Automatically connect ORFE to the following source at startup (e.g. alsa_pcm:capture_1)");
        tip(ui_chkJACKAutoConnect, connect_tip);
        tip(ui_txtJACKSourcePort, connect_tip);
        textLabel3->setText(QCoreApplication::translate("ConfigForm", "JACK sampling rate"));
        const QString jack_rate_tip =
            QCoreApplication::translate("ConfigForm", "Sampling rate of the JACK server");
        tip(textLabel3, jack_rate_tip);
        tip(ui_lblJACKSamplingRate, jack_rate_tip);

        const QString rate_text = QCoreApplication::translate("ConfigForm", "Sampling rate");
        const QString rate_tip = QCoreApplication::translate(
            "ConfigForm", "The chosen sampling rate.\nDo not use a too big sampling rate. "
                          "22050Hz should be enough in most cases.");
        const QString max_text = QCoreApplication::translate("ConfigForm", "set to max");
        const QString max_tip =
            QCoreApplication::translate("ConfigForm", "Set the sampling rate to the maximum possible value.");
        const QString rate_note = QCoreApplication::translate(
            "ConfigForm",
            "Do not use a too big sampling rate. 22050Hz should be largely enough in most cases.");
        const QString mix_text = QCoreApplication::translate(
            "ConfigForm",
            "Mix channels if there are multiple (if unchecked, the first channel will be used)");
        const QString device_text = QCoreApplication::translate("ConfigForm", "Device name");

        ui_grpALSA->setTitle(QCoreApplication::translate("ConfigForm", "ALSA"));
        textLabel1_2->setText(device_text);
        const QString alsa_tip =
            QCoreApplication::translate("ConfigForm", "The name of the ALSA device to use.");
        tip(textLabel1_2, alsa_tip);
        ui_txtALSAPCMName->setText(QCoreApplication::translate("ConfigForm", "default"));
        tip(ui_txtALSAPCMName, alsa_tip);
        rateRow(textLabel4, ui_spinALSASamplingRate, ui_chkALSASamplingRateMax, rate_text, rate_tip, max_text,
                max_tip);
        textLabel1_5_2_2->setText(rate_note);
        ui_chkALSAMixMultipleChannels->setText(mix_text);

        ui_grpOSS->setTitle(QCoreApplication::translate("ConfigForm", "OSS"));
        textLabel1_2_2->setText(device_text);
        const QString oss_tip =
            QCoreApplication::translate("ConfigForm", "The name of the OSS device to connect to");
        tip(textLabel1_2_2, oss_tip);
        ui_txtOSSPCMName->setText(QCoreApplication::translate("ConfigForm", "/dev/dsp"));
        tip(ui_txtOSSPCMName, oss_tip);
        rateRow(textLabel4_3, ui_spinOSSSamplingRate, ui_chkOSSSamplingRateMax, rate_text, rate_tip, max_text,
                max_tip);
        textLabel1_5_2->setText(rate_note);
        ui_chkOSSMixMultipleChannels->setText(mix_text);

        const QString pa_tip =
            QCoreApplication::translate("ConfigForm", "The name of the PortAudio device to connect to");
        ui_grpPortAudio->setTitle(QCoreApplication::translate("ConfigForm", "PortAudio"));
        textLabel1_8->setText(device_text);
        tip(textLabel1_8, pa_tip);
        ui_cbPortAudioDeviceName->setItemText(0, QCoreApplication::translate("ConfigForm", "default"));
        tip(ui_cbPortAudioDeviceName, pa_tip);
        rateRow(textLabel4_2, ui_spinPortAudioSamplingRate, ui_chkPortAudioSamplingRateMax, rate_text,
                rate_tip, max_text, max_tip);
        textLabel1_5_2_2_2->setText(rate_note);
        ui_chkPortAudioMixMultipleChannels->setText(mix_text);

        ui_grpQt->setTitle(QCoreApplication::translate("ConfigForm", "Qt"));
        textLabel1_10->setText(device_text);
        tip(textLabel1_10, pa_tip);
        ui_cbQtDeviceName->setItemText(0, QCoreApplication::translate("ConfigForm", "default"));
        tip(ui_cbQtDeviceName, pa_tip);
        rateRow(textLabel4_5, ui_spinQtSamplingRate, ui_chkQtSamplingRateMax, rate_text, rate_tip, max_text,
                max_tip);
        textLabel1_5_2_2_4->setText(rate_note);
        ui_chkQtMixMultipleChannels->setText(mix_text);
        tabWidget->setTabText(tabWidget->indexOf(tabPageCaptureSystem),
                              QCoreApplication::translate("ConfigForm", "Capture System"));

        textLabel1_4->setText(QCoreApplication::translate("ConfigForm", "Refresh time"));
        const QString refresh_tip = QCoreApplication::translate(
            "ConfigForm", "Time between each sound analysis.\nCan be increased to get "
                          "less CPU usage (but less temporal precision).");
        tip(textLabel1_4, refresh_tip);
        ui_spinRefreshTime->setSuffix(QCoreApplication::translate("ConfigForm", " ms"));
        tip(ui_spinRefreshTime, refresh_tip);
        textLabel7->setText(QCoreApplication::translate("ConfigForm", "Notes range"));

        ui_grpRangeFiltering->setTitle(QCoreApplication::translate("ConfigForm", "Notes range filtering"));
        tip(ui_grpRangeFiltering,
            QCoreApplication::translate("ConfigForm",
                                        "Filter the sound below the lowest semitone and above the "
                                        "highest semitone to avoid artefacts and noises in all the "
                                        "following steps of the sound analysis."));
        ui_rdRangeFilteringRectangular->setText(
            QCoreApplication::translate("ConfigForm", "Rectangular filter: bad precision, but very fast"));
        ui_rdRangeFilteringFIR->setText(QCoreApplication::translate(
            "ConfigForm", "FIR filter: good precision, but more costly in CPU usage"));

        groupBox7_2_3->setTitle(QCoreApplication::translate("ConfigForm", "Algorithm"));
        tip(groupBox7_2_3, QCoreApplication::translate("ConfigForm", "Algorithm settings"));
        textLabel3_2->setText(QCoreApplication::translate("ConfigForm", "Volume threshold"));
        const QString volume_tip =
            QCoreApplication::translate("ConfigForm", "Ignore all sounds with volume below this threshold "
                                                      "[dB]\n(Shown as a red line in various views)");
        tip(textLabel3_2, volume_tip);
        tip(ui_sldVolumeTreshold, volume_tip);
        tip(ui_spinVolumeTreshold, volume_tip);
        ui_spinVolumeTreshold->setSuffix(QCoreApplication::translate("ConfigForm", " dB"));
        ui_lblDetector->setText(QCoreApplication::translate("ConfigForm", "Detector"));
        ui_cbDetector->setItemText(0, QCoreApplication::translate("ConfigForm", "Combed spectrum"));
        ui_cbDetector->setItemText(1, QCoreApplication::translate("ConfigForm", "Partials"));
        const QString detector_tip = QCoreApplication::translate(
            "ConfigForm",
            "Combed spectrum: the classic detector, the lightest on the processor.\nPartials: finds the "
            "period by autocorrelation, then measures and fits the partials: fewer octave errors on "
            "wind and brass,\na steady reading to a fraction of a cent, and the first partial of "
            "stretched (piano) tones. It refines its own estimate: the refinement below is not used.");
        tip(ui_lblDetector, detector_tip);
        tip(ui_cbDetector, detector_tip);
        textLabel1_6->setText(QCoreApplication::translate("ConfigForm", "Window size factor"));
        const QString window_tip =
            QCoreApplication::translate("ConfigForm", "Factor defining the window size (from the lowest "
                                                      "possible period defined by the notes range).\nThe "
                                                      "bigger this factor, the more stable the analysis. "
                                                      "However, by increasing this factor, ORFE will need "
                                                      "more CPU and will react slower to sound changes.");
        tip(textLabel1_6, window_tip);
        tip(ui_sldWindowSizeFactor, window_tip);
        tip(ui_spinWindowSizeFactor, window_tip);
        ui_chkAlgoUseSubHarmTresh->setText(
            QCoreApplication::translate("ConfigForm", "Use sub-harmonic audibility threshold"));
        const QString subharm_tip = QCoreApplication::translate(
            "ConfigForm",
            "Ignore weak sub-harmonics.\nThis threshold is defined between two neighbors frequency "
            "components.\nPrevents underestimation errors.");
        tip(ui_chkAlgoUseSubHarmTresh, subharm_tip);
        tip(ui_sldCombedFFTAudibilityRatio, subharm_tip);
        tip(ui_spinCombedFFTAudibilityRatio, subharm_tip);
        ui_spinCombedFFTAudibilityRatio->setSuffix(QCoreApplication::translate("ConfigForm", " dB"));

        up_grpFreqRefinement->setTitle(QCoreApplication::translate("ConfigForm", "Frequency refinement"));
        tip(up_grpFreqRefinement, QCoreApplication::translate("ConfigForm", "Frequency refinement settings"));
        ui_rdUseTimeRefinement->setText(
            QCoreApplication::translate("ConfigForm", "Maximum number of periods"));
        const QString time_tip = QCoreApplication::translate(
            "ConfigForm",
            "Use a refinement method in time domain: compute the mean of various period lengths (the "
            "option allows to chose the number of periods to use).");
        tip(ui_rdUseTimeRefinement, time_tip);
        tip(ui_sldTimeRefinMaxPeriod, time_tip);
        tip(ui_spinTimeRefinMaxPeriod, time_tip);
        ui_rdUseFreqRefinement->setText(
            QCoreApplication::translate("ConfigForm", "Maximum number of harmonics"));
        const QString freq_tip = QCoreApplication::translate(
            "ConfigForm",
            "Use a refinement method in frequency domain: compute the mean of the quasi-harmonic "
            "related spectral peaks (the option allows to chose the number of harmonics to use).");
        tip(ui_rdUseFreqRefinement, freq_tip);
        tip(ui_sldFreqRefinMaxHarm, freq_tip);
        tip(ui_spinFreqRefinMaxHarm,
            QCoreApplication::translate("ConfigForm",
                                        "Frequency domain fundamental refinement:\nmean of the "
                                        "fundamental relative frequencies of the harmonics.\nChoose "
                                        "the number of harmonics to use."));

        ui_grpQuantizer->setTitle(QCoreApplication::translate("ConfigForm", "Quantizer"));
        tip(ui_grpQuantizer, QCoreApplication::translate("ConfigForm", "Quantizer settings"));
        textLabel1_3->setText(QCoreApplication::translate("ConfigForm", "Latency"));
        const QString latency_tip = QCoreApplication::translate(
            "ConfigForm",
            "Quantize the analysis results: ignore frequency jumps, fill gaps, ignore short notes.\nThe "
            "smaller the value, the faster the tuner. However, by decreasing the value, the computed "
            "frequency will be more unstable.");
        tip(textLabel1_3, latency_tip);
        ui_spinErrorLatency->setSuffix(QCoreApplication::translate("ConfigForm", " ms"));
        tip(ui_spinErrorLatency, latency_tip);
        tabWidget->setTabText(tabWidget->indexOf(tabPageSoundAnalysis),
                              QCoreApplication::translate("ConfigForm", "Sound Analysis"));

        ui_btnRestoreFactorySettings->setText(
            QCoreApplication::translate("ConfigForm", "Restore &factory settings"));
        tip(ui_btnRestoreFactorySettings,
            QCoreApplication::translate(
                "ConfigForm", "Restore settings as if you just installed ORFE (requires to restart ORFE)."));
        buttonOk->setText(QCoreApplication::translate("ConfigForm", "&OK"));
        tip(buttonOk, QCoreApplication::translate(
                          "ConfigForm", "Use these settings and quit the configuration panel (it is "
                                        "required to click on the \"Save settings\" button to "
                                        "permanently keep these settings for each ORFE start)"));
        buttonCancel->setText(QCoreApplication::translate("ConfigForm", "&Cancel"));
        tip(buttonCancel, QCoreApplication::translate(
                              "ConfigForm", "Discard any changes and quit the configuration panel"));
    }

private:
    template <class W> static W* make(QWidget* parent, const char* name)
    {
        auto* widget = new W(parent);
        widget->setObjectName(QString::fromUtf8(name));
        return widget;
    }

    // A nested layout: spacing 6, no margins of its own.
    template <class L> static L* layout(const char* name)
    {
        auto* l = new L();
        l->setObjectName(QString::fromUtf8(name));
        l->setSpacing(6);
        return l;
    }

    // The top layout of a tab page or a group box: spacing 6, margins 11.
    template <class L> static L* pageLayout(QWidget* owner, const char* name)
    {
        auto* l = new L(owner);
        l->setObjectName(QString::fromUtf8(name));
        l->setSpacing(6);
        l->setContentsMargins(11, 11, 11, 11);
        return l;
    }

    static QSpinBox* spin(QWidget* parent, const char* name, int min, int max, int value)
    {
        auto* s = make<QSpinBox>(parent, name);
        s->setRange(min, max);
        s->setValue(value);
        return s;
    }

    static QSlider* slider(QWidget* parent, const char* name, int min, int max, int value, int tick_interval)
    {
        auto* s = make<QSlider>(parent, name);
        s->setOrientation(Qt::Horizontal);
        s->setRange(min, max);
        s->setValue(value);
        s->setTickPosition(QSlider::TicksBelow);
        s->setTickInterval(tick_interval);
        return s;
    }

    // A slider and its spin box follow each other: one connection each way.
    static void pair(QSlider* slider, QSpinBox* spin)
    {
        QObject::connect(slider, SIGNAL(valueChanged(int)), spin, SLOT(setValue(int)));
        QObject::connect(spin, SIGNAL(valueChanged(int)), slider, SLOT(setValue(int)));
    }

    static void tip(QWidget* widget, const QString& text)
    {
        widget->setToolTip(text);
        widget->setWhatsThis(text);
    }

    static void rateRow(QLabel* label, QSpinBox* spin, QCheckBox* max, const QString& rate_text,
                        const QString& rate_tip, const QString& max_text, const QString& max_tip)
    {
        label->setText(rate_text);
        tip(label, rate_tip);
        tip(spin, rate_tip);
        max->setText(max_text);
        tip(max, max_tip);
    }
};

namespace Ui {
class ConfigForm : public Ui_ConfigForm
{
};
} // namespace Ui

#endif
