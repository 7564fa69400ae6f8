// Layouts of the main window and the configuration dialog: factory values,
// ranges, texts, and the connections the layouts make themselves.

#include "CustomConfigForm.h"
#include "CustomInstrumentTunerForm.h"
#include "GLErrorHistory.h"
#include "GLGraph.h"
#include "GLVolumeHistory.h"
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>
#include <memory>

class TestLayout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config_dir;

    // A row of the factory table: the control, one of its properties, the value.
    static void row(const char* name, const char* property, const QVariant& value)
    {
        QTest::newRow(qPrintable(QStringLiteral("%1.%2").arg(QLatin1String(name), QLatin1String(property))))
            << QString::fromLatin1(name) << QByteArray(property) << value;
    }
    static void checkRow(QObject* root)
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, expected);
        QObject* object = root->objectName() == name ? root : root->findChild<QObject*>(name);
        QVERIFY2(object, qPrintable(name));
        const QVariant actual = object->property(property.constData());
        QVERIFY2(actual.isValid(), property.constData());
        QCOMPARE(actual, expected);
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(orfe);
        QVERIFY(m_config_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config_dir.path());
    }

    void configFactoryValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("expected");
        row("ConfigForm", "windowTitle", QStringLiteral("Configuration"));
        row("ConfigForm", "sizeGripEnabled", true);
        row("tabWidget", "currentIndex", 0);
        row("tabWidget", "count", 3);
        row("ui_chkFullScreen", "checked", false);
        row("ui_chkFullScreen", "text", QStringLiteral("Start in full-screen"));
        row("ui_chkAutoSaveOnExit", "checked", false);
        row("ui_cbTuning", "count", 5);
        row("ui_cbTuning", "currentIndex", 0);
        row("ui_cbTuning", "currentText", QStringLiteral("Chromatic"));
        row("ui_spinTransposition", "minimum", -96);
        row("ui_spinTransposition", "maximum", 96);
        row("ui_spinTransposition", "value", 0);
        row("ui_cbNotesName", "count", 5);
        row("ui_cbNotesName", "currentText", QStringLiteral("Anglo-Saxon"));
        row("ui_chkShowA4Offset", "checked", false);
        row("ui_chkAutoDetect", "checked", true);
        row("ui_cbTransports", "count", 0);
        row("lineEdit7", "text", QStringLiteral("orfe"));
        row("lineEdit7", "enabled", false);
        row("ui_chkJACKAutoConnect", "checked", false);
        row("ui_chkJACKAutoConnect", "text", QString::fromUtf8("automatically connect to\u2026"));
        row("ui_txtJACKSourcePort", "text", QString());
        row("ui_txtJACKSourcePort", "enabled", false);
        row("ui_txtALSAPCMName", "text", QStringLiteral("default"));
        row("ui_txtOSSPCMName", "text", QStringLiteral("/dev/dsp"));
        row("ui_cbPortAudioDeviceName", "count", 1);
        row("ui_cbPortAudioDeviceName", "currentText", QStringLiteral("default"));
        row("ui_cbQtDeviceName", "count", 1);
        row("ui_cbQtDeviceName", "currentText", QStringLiteral("default"));
        for (const char* group : {"ALSA", "OSS", "PortAudio", "Qt"}) {
            const QByteArray rate = QByteArray("ui_spin") + group + "SamplingRate";
            const QByteArray max = QByteArray("ui_chk") + group + "SamplingRateMax";
            const QByteArray mix = QByteArray("ui_chk") + group + "MixMultipleChannels";
            row(rate.constData(), "minimum", 8000);
            row(rate.constData(), "maximum", 96000);
            row(rate.constData(), "value", 22050);
            row(rate.constData(), "enabled", true);
            row(max.constData(), "checked", false);
            row(max.constData(), "text", QStringLiteral("set to max"));
            row(mix.constData(), "checked", false);
        }
        row("ui_spinRefreshTime", "minimum", 1);
        row("ui_spinRefreshTime", "maximum", 2000);
        row("ui_spinRefreshTime", "value", 20);
        row("ui_spinRefreshTime", "suffix", QStringLiteral(" ms"));
        row("ui_spinMinHT", "minimum", -96);
        row("ui_spinMinHT", "maximum", 96);
        row("ui_spinMinHT", "value", -36);
        row("ui_spinMaxHT", "minimum", -96);
        row("ui_spinMaxHT", "maximum", 96);
        row("ui_spinMaxHT", "value", 48);
        row("ui_grpRangeFiltering", "checkable", true);
        row("ui_grpRangeFiltering", "checked", true);
        row("ui_rdRangeFilteringRectangular", "checked", true);
        row("ui_rdRangeFilteringFIR", "checked", false);
        row("ui_rdRangeFilteringFIR", "enabled", false);
        row("ui_spinVolumeTreshold", "minimum", -100);
        row("ui_spinVolumeTreshold", "maximum", 0);
        row("ui_spinVolumeTreshold", "value", -28);
        row("ui_spinVolumeTreshold", "suffix", QStringLiteral(" dB"));
        row("ui_sldVolumeTreshold", "minimum", -100);
        row("ui_sldVolumeTreshold", "maximum", 0);
        row("ui_sldVolumeTreshold", "value", -28);
        row("ui_sldVolumeTreshold", "tickInterval", 6);
        row("ui_spinWindowSizeFactor", "minimum", 1);
        row("ui_spinWindowSizeFactor", "maximum", 8);
        row("ui_spinWindowSizeFactor", "value", 4);
        row("ui_sldWindowSizeFactor", "value", 4);
        row("ui_sldWindowSizeFactor", "pageStep", 10);
        row("ui_sldWindowSizeFactor", "tickInterval", 1);
        row("ui_chkAlgoUseSubHarmTresh", "checked", false);
        row("ui_spinCombedFFTAudibilityRatio", "minimum", 0);
        row("ui_spinCombedFFTAudibilityRatio", "maximum", 100);
        row("ui_spinCombedFFTAudibilityRatio", "value", 15);
        row("ui_spinCombedFFTAudibilityRatio", "enabled", false);
        row("ui_sldCombedFFTAudibilityRatio", "value", 15);
        row("ui_sldCombedFFTAudibilityRatio", "enabled", false);
        row("up_grpFreqRefinement", "checkable", true);
        row("up_grpFreqRefinement", "checked", true);
        row("ui_rdUseFreqRefinement", "checked", false);
        row("ui_spinFreqRefinMaxHarm", "minimum", 1);
        row("ui_spinFreqRefinMaxHarm", "maximum", 64);
        row("ui_spinFreqRefinMaxHarm", "value", 8);
        row("ui_sldFreqRefinMaxHarm", "value", 8);
        row("ui_sldFreqRefinMaxHarm", "tickInterval", 8);
        row("ui_rdUseTimeRefinement", "checked", true);
        row("ui_spinTimeRefinMaxPeriod", "minimum", 1);
        row("ui_spinTimeRefinMaxPeriod", "maximum", 64);
        row("ui_spinTimeRefinMaxPeriod", "value", 4);
        row("ui_sldTimeRefinMaxPeriod", "value", 4);
        row("ui_sldTimeRefinMaxPeriod", "pageStep", 10);
        row("ui_grpQuantizer", "checkable", true);
        row("ui_grpQuantizer", "checked", true);
        row("ui_spinErrorLatency", "minimum", 1);
        row("ui_spinErrorLatency", "maximum", 4000);
        row("ui_spinErrorLatency", "value", 125);
        row("ui_spinErrorLatency", "suffix", QStringLiteral(" ms"));
        row("ui_btnRestoreFactorySettings", "text", QStringLiteral("Restore &factory settings"));
        row("buttonOk", "text", QStringLiteral("&OK"));
        row("buttonOk", "default", true);
        row("buttonOk", "autoDefault", true);
        row("buttonCancel", "text", QStringLiteral("&Cancel"));
        row("buttonCancel", "autoDefault", true);
        row("textLabel1_4", "toolTip",
            QStringLiteral(
                "Time between each sound analysis.\nCan be increased to get less CPU usage (but less "
                "temporal precision)."));
        row("ui_spinRefreshTime", "whatsThis",
            QStringLiteral(
                "Time between each sound analysis.\nCan be increased to get less CPU usage (but less "
                "temporal precision)."));
        row("ui_spinFreqRefinMaxHarm", "toolTip",
            QStringLiteral(
                "Frequency domain fundamental refinement:\nmean of the fundamental relative frequencies "
                "of the harmonics.\nChoose the number of harmonics to use."));
        row("ui_txtOSSPCMName", "toolTip", QStringLiteral("The name of the OSS device to connect to"));
        row("ui_cbQtDeviceName", "toolTip", QStringLiteral("The name of the PortAudio device to connect to"));
    }
    void configFactoryValues()
    {
        CustomConfigForm form;
        checkRow(&form);
    }

    void configTexts()
    {
        CustomConfigForm form;
        QCOMPARE(form.tabWidget->tabText(0), QStringLiteral("General"));
        QCOMPARE(form.tabWidget->tabText(1), QStringLiteral("Capture System"));
        QCOMPARE(form.tabWidget->tabText(2), QStringLiteral("Sound Analysis"));
        const QStringList tunings{"Chromatic", "Werckmeister III", "Kirnberger III", "Diatonic",
                                  "Meantone (1/4)"};
        const QStringList names{"Anglo-Saxon", "Latin", "German", "Hindustani", "Byzantine"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(form.ui_cbTuning->itemText(i), tunings[i]);
            QCOMPARE(form.ui_cbNotesName->itemText(i), names[i]);
        }
        QCOMPARE(form.size(), QSize(672, 946));
        QVERIFY(form.textLabel1_5->text().contains(QStringLiteral(
            "<b>To get more options, right-click every view to show up their properties!</b>")));
        // The icon path names a file the resources do not hold.
        QVERIFY(form.windowIcon().pixmap(16, 16).isNull());
    }

    // A slider and its spin box follow each other both ways.
    void sliderSpinPairs_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<QString>("spin");
        QTest::addColumn<int>("value");
        QTest::newRow("volume") << "ui_sldVolumeTreshold"
                                << "ui_spinVolumeTreshold" << -61;
        QTest::newRow("audibility") << "ui_sldCombedFFTAudibilityRatio"
                                    << "ui_spinCombedFFTAudibilityRatio" << 42;
        QTest::newRow("window") << "ui_sldWindowSizeFactor"
                                << "ui_spinWindowSizeFactor" << 7;
        QTest::newRow("harmonics") << "ui_sldFreqRefinMaxHarm"
                                   << "ui_spinFreqRefinMaxHarm" << 33;
        QTest::newRow("periods") << "ui_sldTimeRefinMaxPeriod"
                                 << "ui_spinTimeRefinMaxPeriod" << 17;
    }
    void sliderSpinPairs()
    {
        QFETCH(QString, slider);
        QFETCH(QString, spin);
        QFETCH(int, value);
        CustomConfigForm form;
        auto* sld = form.findChild<QSlider*>(slider);
        auto* spn = form.findChild<QSpinBox*>(spin);
        QVERIFY(sld && spn);
        QCOMPARE(sld->minimum(), spn->minimum());
        QCOMPARE(sld->maximum(), spn->maximum());
        spn->setValue(value);
        QCOMPARE(sld->value(), value);
        sld->setValue(value - 1);
        QCOMPARE(spn->value(), value - 1);
    }

    // Check boxes that enable or disable another control.
    void dependentControls_data()
    {
        QTest::addColumn<QString>("checkbox");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("enabledWhenChecked");
        QTest::addColumn<bool>("enabledWhenUnchecked");
        QTest::newRow("ALSA max") << "ui_chkALSASamplingRateMax"
                                  << "ui_spinALSASamplingRate" << false << true;
        QTest::newRow("OSS max") << "ui_chkOSSSamplingRateMax"
                                 << "ui_spinOSSSamplingRate" << false << true;
        QTest::newRow("PortAudio max") << "ui_chkPortAudioSamplingRateMax"
                                       << "ui_spinPortAudioSamplingRate" << false << true;
        // The Qt rate stays editable: the device may not offer its maximum.
        QTest::newRow("Qt max") << "ui_chkQtSamplingRateMax"
                                << "ui_spinQtSamplingRate" << true << true;
        QTest::newRow("JACK port") << "ui_chkJACKAutoConnect"
                                   << "ui_txtJACKSourcePort" << true << false;
        QTest::newRow("ratio spin") << "ui_chkAlgoUseSubHarmTresh"
                                    << "ui_spinCombedFFTAudibilityRatio" << true << false;
        QTest::newRow("ratio slider") << "ui_chkAlgoUseSubHarmTresh"
                                      << "ui_sldCombedFFTAudibilityRatio" << true << false;
    }
    void dependentControls()
    {
        QFETCH(QString, checkbox);
        QFETCH(QString, target);
        QFETCH(bool, enabledWhenChecked);
        QFETCH(bool, enabledWhenUnchecked);
        CustomConfigForm form;
        auto* box = form.findChild<QCheckBox*>(checkbox);
        auto* widget = form.findChild<QWidget*>(target);
        QVERIFY(box && widget);
        box->setChecked(true);
        QCOMPARE(widget->isEnabled(), enabledWhenChecked);
        box->setChecked(false);
        QCOMPARE(widget->isEnabled(), enabledWhenUnchecked);
    }

    // Unchecking a checkable group disables its contents and keeps their values.
    void checkableGroups_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("spin");
        QTest::newRow("refinement") << "up_grpFreqRefinement"
                                    << "ui_spinTimeRefinMaxPeriod";
        QTest::newRow("quantizer") << "ui_grpQuantizer"
                                   << "ui_spinErrorLatency";
        QTest::newRow("range filtering") << "ui_grpRangeFiltering"
                                         << "";
    }
    void checkableGroups()
    {
        QFETCH(QString, group);
        QFETCH(QString, spin);
        CustomConfigForm form;
        auto* box = form.findChild<QGroupBox*>(group);
        QVERIFY(box);
        QSpinBox* s = spin.isEmpty() ? nullptr : form.findChild<QSpinBox*>(spin);
        if (s) s->setValue(s->minimum() + 3);
        const QList<QWidget*> children = box->findChildren<QWidget*>();
        QVERIFY(!children.isEmpty());
        box->setChecked(false);
        for (QWidget* child : children)
            QVERIFY2(!child->isEnabled(), qPrintable(child->objectName()));
        if (s) QCOMPARE(s->value(), s->minimum() + 3);
        box->setChecked(true);
        QVERIFY(
            form.findChild<QWidget*>(spin.isEmpty() ? QStringLiteral("ui_rdRangeFilteringRectangular") : spin)
                ->isEnabled());
        // The FIR radio button stays disabled whatever its group does.
        QVERIFY(!form.ui_rdRangeFilteringFIR->isEnabled());
    }

    void dialogButtons()
    {
        CustomConfigForm form;
        form.show();
        QSignalSpy accepted(&form, &QDialog::accepted);
        QSignalSpy rejected(&form, &QDialog::rejected);
        form.buttonOk->click();
        QCOMPARE(accepted.count(), 1);
        form.show();
        form.buttonCancel->click();
        QCOMPARE(rejected.count(), 1);
        QCOMPARE(accepted.count(), 1);
    }

    void mainWindowFactoryValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("expected");
        row("InstrumentTunerForm", "windowTitle", QStringLiteral("Orfeon"));
        row("ui_spinAFreq", "minimum", 220);
        row("ui_spinAFreq", "maximum", 880);
        row("ui_spinAFreq", "singleStep", 1);
        row("ui_spinAFreq", "value", 440);
        row("ui_spinAFreq", "suffix", QStringLiteral(" Hz"));
        row("ui_spinAFreq", "maximumWidth", 100);
        row("ui_spinA3Offset", "minimum", -50);
        row("ui_spinA3Offset", "maximum", 50);
        row("ui_spinA3Offset", "value", 0);
        row("ui_spinA3Offset", "suffix", QStringLiteral(" cents"));
        row("ui_lblA3Offset", "text", QStringLiteral("Offset"));
        row("ui_btnKeepErrorHistory", "checkable", true);
        row("ui_btnKeepErrorHistory", "checked", false);
        row("ui_btnKeepErrorHistory", "maximumWidth", 20);
        row("ui_btnKeepErrorHistory", "text", QStringLiteral("K\ne\ne\np"));
        row("ui_btnKeepErrorHistory", "toolTip",
            QStringLiteral("Keep the data in the error and volume views (shortcut \"k\")."));
        row("ui_pgbVolume", "minimum", 0);
        row("ui_pgbVolume", "maximum", 100);
        row("ui_pgbVolume", "textVisible", false);
        row("ui_pgbVolume", "maximumHeight", 14);
        row("ui_lblSoundStability", "text", QStringLiteral("Note Stability"));
        row("ui_lblSoundStability", "minimumWidth", 300);
        row("ui_lblSoundStability", "autoFillBackground", true);
        row("ui_lblSoundStability", "wordWrap", true);
        row("textLabel8", "text", QStringLiteral("Tuning Frequency"));
        row("ui_txtFreq", "minimumHeight", 25);
        row("ui_txtFreq", "toolTip", QStringLiteral("The frequency of the current note in Hertz."));
        row("ui_txtNote", "toolTip", QStringLiteral("The recognized note"));
        row("ui_txtNoteFreq", "maximumHeight", 25);
        row("ui_txtNoteFreq", "toolTip",
            QStringLiteral("The target frequency of the current note in Hertz."));
        row("pauseAction", "checkable", true);
        row("pauseAction", "checked", false);
        row("pauseAction", "text", QStringLiteral("Pause"));
        row("pauseAction", "statusTip",
            QStringLiteral("Pause: the capture, the sound analysis and all views."));
        row("configAction", "text", QStringLiteral("Configure"));
        row("saveSettingsAction", "text", QStringLiteral("Save settings"));
        row("helpAboutAction", "text", QStringLiteral("About"));
        row("helpAboutAction", "statusTip", QStringLiteral("Invoke the about box."));
        row("ui_tbViews", "windowTitle", QStringLiteral("Views"));
        row("ui_tbButtons", "windowTitle", QStringLiteral("Settings"));
    }
    void mainWindowFactoryValues()
    {
        CustomInstrumentTunerForm window(CaptureThread::transportsWithoutJack());
        checkRow(&window);
    }

    void mainWindowDetails()
    {
        CustomInstrumentTunerForm window(CaptureThread::transportsWithoutJack());
        // Neither spin box takes the keyboard focus: typing never edits them.
        QCOMPARE(window.ui_spinAFreq->focusPolicy(), Qt::NoFocus);
        QCOMPARE(window.ui_spinA3Offset->focusPolicy(), Qt::NoFocus);
        QCOMPARE(window.ui_btnKeepErrorHistory->focusPolicy(), Qt::NoFocus);
        QCOMPARE(window.pauseAction->shortcut(), QKeySequence(QStringLiteral("Space")));
        QCOMPARE(window.saveSettingsAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(window.ui_btnKeepErrorHistory->shortcut(), QKeySequence(QStringLiteral("K")));
        QCOMPARE(window.ui_spinAFreq->font().pointSize(), 14);
        QVERIFY(window.ui_spinAFreq->font().bold());
        QCOMPARE(window.ui_txtNote->font().pointSize(), 28);
        QCOMPARE(window.ui_lblSoundStability->font().pointSize(), 11);
        QCOMPARE(window.ui_lblSoundStability->alignment(), Qt::AlignCenter);
        QCOMPARE(window.textLabel8->alignment(), Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(window.ui_txtFreq->segmentStyle(), QLCDNumber::Flat);
        QCOMPARE(window.ui_txtFreq->frameShape(), QFrame::NoFrame);
        QCOMPARE(window.ui_tbButtons->actions(),
                 (QList<QAction*>{window.pauseAction, window.configAction, window.saveSettingsAction,
                                  window.helpAboutAction}));
        // (The show actions in ui_tbViews are checked with the views' placement.)
        QCOMPARE(window.ui_tbViews->contextMenuPolicy(), Qt::PreventContextMenu);
        QCOMPARE(window.toolBarArea(window.ui_tbViews), Qt::TopToolBarArea);
        QCOMPARE(window.toolBarArea(window.ui_tbButtons), Qt::TopToolBarArea);
        QCOMPARE(window.centralWidget(), window.centralwidget);
        QCOMPARE(window.vboxLayout->contentsMargins(), QMargins(11, 11, 11, 11));
        QCOMPARE(window.vboxLayout->spacing(), 6);
        QVERIFY(!window.windowIcon().isNull());
        for (const char* icon :
             {"orfe.svg", "orfe.png", "pause.svg", "settings.svg", "save.svg", "about.svg",
              "module_capturedsound.svg", "module_errorhistory.svg", "module_volumehistory.svg",
              "module_waveformperiod.svg", "module_harmonics.svg", "module_fourier.svg",
              "module_microtonal.svg", "module_statistics.svg"}) {
            const QString path = QStringLiteral(":/orfe/ui/images/") + QLatin1String(icon);
            QVERIFY2(QFile::exists(path), qPrintable(path));
            // Every image must render, at toolbar size too.
            QVERIFY2(!QIcon(path).pixmap(22, 22).isNull(), qPrintable(path));
        }
        // Hidden by the window until the offset is enabled.
        QVERIFY(window.ui_lblA3Offset->isHidden());
        QVERIFY(window.ui_spinA3Offset->isHidden());
        QVERIFY(window.m_config_form.ui_grpRangeFiltering->isHidden());
        QVERIFY(window.m_config_form.ui_grpOSS->isHidden());
    }

    // The layout's empty layouts, filled later by the window with the views,
    // sit where the window expects them.
    void viewLayouts()
    {
        CustomInstrumentTunerForm window(CaptureThread::transportsWithoutJack());
        QCOMPARE(window.vboxLayout->itemAt(0)->layout(), static_cast<QLayout*>(window.hboxLayout));
        QCOMPARE(window.vboxLayout->itemAt(1)->layout(), static_cast<QLayout*>(window.ui_microtonalLayout));
        QCOMPARE(window.hboxLayout->itemAt(0)->layout(), static_cast<QLayout*>(window.vboxLayout1));
        QCOMPARE(window.hboxLayout->itemAt(1)->layout(), static_cast<QLayout*>(window.ui_rightLayout));
        const QList<QLayout*> left{window.ui_graphLayout, window.hboxLayout1, window.ui_sampleLayout,
                                   window.ui_formantsLayout, window.ui_FT};
        for (int i = 0; i < left.size(); ++i)
            QCOMPARE(window.vboxLayout1->itemAt(i)->layout(), left[i]);
        QCOMPARE(window.hboxLayout1->itemAt(0)->widget(),
                 static_cast<QWidget*>(window.ui_btnKeepErrorHistory));
        QCOMPARE(window.vboxLayout2->itemAt(0)->layout(), static_cast<QLayout*>(window.ui_errorLayout));
        QCOMPARE(window.vboxLayout2->itemAt(1)->layout(), static_cast<QLayout*>(window.ui_volumeLayout));
        QCOMPARE(window.ui_rightLayout->itemAt(0)->widget(), static_cast<QWidget*>(window.ui_pgbVolume));
        QCOMPARE(window.ui_rightLayout->itemAt(3)->layout(), static_cast<QLayout*>(window.ui_dialTuneLayout));
        QCOMPARE(window.hboxLayout4->itemAt(0)->widget(), static_cast<QWidget*>(window.ui_txtNote));
        QCOMPARE(window.ui_graphLayout->count(), 1);
        QCOMPARE(window.ui_graphLayout->itemAt(0)->widget(), static_cast<QWidget*>(window.m_glGraph));
    }

    // The French catalogue is built and translates the window's texts.
    void frenchCatalogue()
    {
        QTranslator translator;
        QVERIFY(
            translator.load(QStringLiteral("orfe_fr"), QStringLiteral(ORFE_QM_DIR), QString(), QString()));
        QCOMPARE(translator.translate("InstrumentTunerForm", "Pause"), QStringLiteral("Pause"));
        QCOMPARE(translator.translate("InstrumentTunerForm", "Save settings"),
                 QString::fromUtf8("Enregistrer les réglages"));
        QCOMPARE(translator.translate("ConfigForm", "General"), QString::fromUtf8("Général"));
        QVERIFY(QCoreApplication::installTranslator(&translator));
        CustomConfigForm form;
        QCOMPARE(form.tabWidget->tabText(2), QString::fromUtf8("Analyse du son"));
        QCoreApplication::removeTranslator(&translator);
    }

    // Each view's texts live in the view class's own context; one text per view
    // is enough to know that context made it into the catalogue. The window built
    // under the translator then offers the view in the views toolbar by that name.
    void frenchViewNames_data()
    {
        QTest::addColumn<QByteArray>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("french");
        QTest::newRow("captured sound")
            << QByteArray("GLGraph") << "Captured Sound" << QString::fromUtf8("Son capturé");
        QTest::newRow("spectrum") << QByteArray("GLFT") << "Fourier Transform"
                                  << QString::fromUtf8("Transformée de Fourier");
        QTest::newRow("statistics") << QByteArray("GLStatistics") << "Statistics"
                                    << QString::fromUtf8("Statistiques");
        QTest::newRow("waveform period")
            << QByteArray("GLSample") << "Waveform" << QString::fromUtf8("Forme d’onde");
        QTest::newRow("harmonics") << QByteArray("GLFreqStruct") << "Harmonics"
                                   << QString::fromUtf8("Harmoniques");
    }
    void frenchViewNames()
    {
        QFETCH(QByteArray, context);
        QFETCH(QString, source);
        QFETCH(QString, french);
        QTranslator translator;
        QVERIFY(
            translator.load(QStringLiteral("orfe_fr"), QStringLiteral(ORFE_QM_DIR), QString(), QString()));
        QCOMPARE(translator.translate(context.constData(), source.toUtf8().constData()), french);
        QVERIFY(QCoreApplication::installTranslator(&translator));
        QStringList offered;
        {
            CustomInstrumentTunerForm window(CaptureThread::transportsWithoutJack());
            for (QAction* action : window.ui_tbViews->actions())
                offered << action->text();
        }
        QCoreApplication::removeTranslator(&translator);
        QVERIFY2(offered.contains(french), qPrintable(offered.join(QStringLiteral(", "))));
        QVERIFY(!offered.contains(source));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
