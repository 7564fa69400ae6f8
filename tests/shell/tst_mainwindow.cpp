// The main window's persistence (load at start, save on request and at exit,
// factory restoration), its size, its closing and its about box. Settings live
// in a real INI file in a temporary folder.

#include "AboutBox.h"
#include "CoutCapture.h"
#include "CustomInstrumentTunerForm.h"
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <unistd.h>

namespace {

// Every control the window registers, as stored under "Auto/".
const QStringList REGISTERED{"ui_chkFullScreen",
                             "ui_chkAutoSaveOnExit",
                             "ui_chkShowA4Offset",
                             "ui_cbTuning",
                             "ui_spinTransposition",
                             "ui_cbNotesName",
                             "ui_spinAFreq",
                             "ui_spinA3Offset",
                             "ui_chkAutoDetect",
                             "ui_chkJACKAutoConnect",
                             "ui_txtJACKSourcePort",
                             "ui_chkOSSSamplingRateMax",
                             "ui_spinOSSSamplingRate",
                             "ui_chkOSSMixMultipleChannels",
                             "ui_txtOSSPCMName",
                             "ui_chkQtSamplingRateMax",
                             "ui_spinQtSamplingRate",
                             "ui_chkQtMixMultipleChannels",
                             "ui_spinRefreshTime",
                             "ui_spinMinHT",
                             "ui_spinMaxHT",
                             "ui_grpRangeFiltering",
                             "ui_rdRangeFilteringRectangular",
                             "ui_rdRangeFilteringFIR",
                             "ui_spinVolumeTreshold",
                             "ui_spinWindowSizeFactor",
                             "ui_cbDetector",
                             "ui_chkAlgoUseSubHarmTresh",
                             "ui_spinCombedFFTAudibilityRatio",
                             "up_grpFreqRefinement",
                             "ui_rdUseFreqRefinement",
                             "ui_spinFreqRefinMaxHarm",
                             "ui_rdUseTimeRefinement",
                             "ui_spinTimeRefinMaxPeriod",
                             "ui_grpQuantizer",
                             "ui_spinErrorLatency",
                             // registered by the spectrum and statistics views
                             "setting_winlen",
                             "setting_keep_n_values",
                             "setting_scale_min",
                             "setting_scale_max"};

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

// Answers the message boxes that the code under test is about to open, one
// button per box, in order. Polls because the boxes run their own event loop.
class MessageBoxAnswers : public QObject
{
public:
    QList<QMessageBox::StandardButton> m_answers;
    QStringList m_texts;
    explicit MessageBoxAnswers(QList<QMessageBox::StandardButton> answers) : m_answers(std::move(answers))
    {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || m_answers.isEmpty()) return;
            m_texts << box->windowTitle() + "|" + box->text();
            QAbstractButton* button = box->button(m_answers.takeFirst());
            if (button)
                button->click();
            else
                box->reject();
        });
        timer->start(10);
    }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString file() const { return m_dir->path() + "/orfe/orfe.conf"; }
    void writeFile(const QByteArray& contents)
    {
        QDir().mkpath(m_dir->path() + "/orfe");
        QFile f(file());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contents);
    }
    QByteArray readFile()
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList autoKeys()
    {
        QSettings raw(file(), QSettings::IniFormat);
        raw.beginGroup("orfe009801/Auto");
        return Sorted(raw.childKeys());
    }
    QStringList topKeys()
    {
        QSettings raw(file(), QSettings::IniFormat);
        raw.beginGroup("orfe009801");
        return Sorted(raw.childKeys());
    }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(orfe); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir->path());
    }

    void opensAt800x600WithNoStoredSize()
    {
        CustomInstrumentTunerForm window;
        QCOMPARE(window.size(), QSize(800, 600));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), QSize(800, 600));
    }

    void opensAtStoredSize()
    {
        writeFile("[orfe009801]\nwidth=700\nheight=500\n");
        CustomInstrumentTunerForm window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), QSize(700, 500));
    }

    // A stored size larger than the screen is cut to the screen's free area,
    // one dimension at a time, and the window is put at its top left corner.
    void storedSizeIsKeptWithinTheScreen_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::newRow("both huge") << QSize(100000, 100000);
        QTest::newRow("wide") << QSize(16000, 300);
        QTest::newRow("tall") << QSize(500, 8000);
    }
    void storedSizeIsKeptWithinTheScreen()
    {
        QFETCH(QSize, stored);
        writeFile(QStringLiteral("[orfe009801]\nwidth=%1\nheight=%2\n")
                      .arg(stored.width())
                      .arg(stored.height())
                      .toLatin1());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(stored.width() > screen.width() || stored.height() > screen.height());
        CustomInstrumentTunerForm window;
        // "wide" on the 800 x 600 offscreen screen: min(16000, 800) x min(300, 600) = 800 x 300.
        QCOMPARE(window.size(), stored.boundedTo(screen.size()));
        QCOMPARE(window.pos(), screen.topLeft());
    }

    // A save that cannot be written says so in the status bar and on standard
    // output (the folder of the store replaced by a file: no one can write it).
    void failedSaveIsReported()
    {
        writeFile("[orfe009801]\nAuto\\ui_spinRefreshTime=35\n");
        CustomInstrumentTunerForm window;
        QVERIFY(window.m_settings.readable());
        QVERIFY(QDir(m_dir->path() + "/orfe").removeRecursively());
        QFile blocker(m_dir->path() + "/orfe");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        CoutCapture out;
        window.saveSettings();
        const QString expected =
            "the settings could not be saved: " + file() + " or its folder cannot be written";
        QCOMPARE(window.statusBar()->currentMessage(), "ERROR: " + expected);
        QVERIFY2(QString::fromStdString(out.str()).contains("AutoQSettings: ERROR: " + expected),
                 out.str().c_str());
    }

    void successfulSaveSaysNothing()
    {
        CustomInstrumentTunerForm window;
        CoutCapture out;
        window.saveSettings();
        // (A transport that cannot start may have put its own error there.)
        QVERIFY(!window.statusBar()->currentMessage().contains("could not be saved"));
        QVERIFY2(!QString::fromStdString(out.str()).contains("could not be saved"), out.str().c_str());
        QCOMPARE(topKeys(), Sorted({"width", "height", "ui_cbTransports", "ui_cbQtDeviceName"}));
    }

    void badStoredSizeFallsBack_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("text") << QByteArray("width=wide\nheight=550\n") << QSize(800, 550);
        QTest::newRow("zero") << QByteArray("width=0\nheight=0\n") << QSize(800, 600);
        QTest::newRow("negative") << QByteArray("width=-5\nheight=540\n") << QSize(800, 540);
    }
    void badStoredSizeFallsBack()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QSize, expected);
        writeFile("[orfe009801]\n" + contents);
        CustomInstrumentTunerForm window;
        QCOMPARE(window.size(), expected);
    }

    // A first start leaves every control at its factory value and, with
    // auto-save off, quitting stores the auto-save choice alone.
    void firstStartThenQuit()
    {
        {
            CustomInstrumentTunerForm window;
            QCOMPARE(window.m_config_form.ui_spinRefreshTime->value(), 20);
            QCOMPARE(window.ui_spinAFreq->value(), 440);
            QVERIFY(!QFile::exists(file()));
        }
        QCOMPARE(autoKeys(), QStringList{"ui_chkAutoSaveOnExit"});
        QCOMPARE(topKeys(), QStringList());
        QSettings raw(file(), QSettings::IniFormat);
        QCOMPARE(raw.value("orfe009801/Auto/ui_chkAutoSaveOnExit").toString(), QStringLiteral("false"));
    }

    void loadAppliesStoredValuesWithTheirEffects()
    {
        writeFile(
            "[orfe009801]\nAuto\\ui_spinAFreq=442\nAuto\\ui_chkAlgoUseSubHarmTresh=true\n"
            "Auto\\ui_spinVolumeTreshold=-40\nAuto\\ui_chkOSSSamplingRateMax=true\n"
            "Auto\\ui_rdUseFreqRefinement=true\nAuto\\ui_cbNotesName=2\nAuto\\ui_txtOSSPCMName=/dev/dsp2\n"
            "Auto\\ui_grpQuantizer=false\nAuto\\ui_spinErrorLatency=9999\n");
        CustomInstrumentTunerForm window;
        CustomConfigForm& c = window.m_config_form;
        QCOMPARE(window.ui_spinAFreq->value(), 442);
        QVERIFY(c.ui_chkAlgoUseSubHarmTresh->isChecked());
        QVERIFY(c.ui_spinCombedFFTAudibilityRatio->isEnabled()); // through the layout's connection
        QVERIFY(c.ui_sldCombedFFTAudibilityRatio->isEnabled());
        QCOMPARE(c.ui_spinVolumeTreshold->value(), -40);
        QCOMPARE(c.ui_sldVolumeTreshold->value(), -40); // the slider follows its spin box
        QVERIFY(!c.ui_spinOSSSamplingRate->isEnabled());
        QVERIFY(c.ui_rdUseFreqRefinement->isChecked());
        QVERIFY(!c.ui_rdUseTimeRefinement->isChecked());
        QCOMPARE(c.ui_cbNotesName->currentIndex(), 2);
        QCOMPARE(c.ui_txtOSSPCMName->text(), QStringLiteral("/dev/dsp2"));
        QVERIFY(!c.ui_grpQuantizer->isChecked());
        QCOMPARE(c.ui_spinErrorLatency->value(), 4000); // clamped to the range
    }

    // Garbage in the store: what can be read is applied, the rest keeps its
    // factory value, and quitting with auto-save off rewrites none of it.
    void garbageStoreIsReadAsFarAsPossible()
    {
        const QByteArray garbage =
            "[orfe009801]\nAuto\\ui_spinAFreq=loud\nAuto\\ui_spinRefreshTime=35\n"
            "Auto\\ui_chkAutoDetect=perhaps\nAuto\\ui_cbTuning=17\nAuto\\ui_spinMinHT=@Invalid()\n"
            "Auto\\ui_spinMaxHT=60\nwidth=x\nheight=500\nui_cbQtDeviceName=\n";
        writeFile(garbage);
        {
            CustomInstrumentTunerForm window;
            CustomConfigForm& c = window.m_config_form;
            QCOMPARE(window.ui_spinAFreq->value(), 440);
            QCOMPARE(c.ui_spinRefreshTime->value(), 35);
            QVERIFY(c.ui_chkAutoDetect->isChecked());
            QCOMPARE(c.ui_cbTuning->currentIndex(), 0);
            QCOMPARE(c.ui_spinMinHT->value(), -36);
            QCOMPARE(c.ui_spinMaxHT->value(), 60);
            QCOMPARE(window.size(), QSize(800, 500));
            c.ui_spinRefreshTime->setValue(99); // changed but not saved
        }
        QSettings raw(file(), QSettings::IniFormat);
        QCOMPARE(raw.value("orfe009801/Auto/ui_spinAFreq").toString(), QStringLiteral("loud"));
        QCOMPARE(raw.value("orfe009801/Auto/ui_spinRefreshTime").toInt(), 35);
        QCOMPARE(raw.value("orfe009801/Auto/ui_cbTuning").toInt(), 17);
        QCOMPARE(raw.value("orfe009801/width").toString(), QStringLiteral("x"));
        QCOMPARE(raw.value("orfe009801/Auto/ui_chkAutoSaveOnExit").toString(), QStringLiteral("false"));
        QCOMPARE(autoKeys(), Sorted({"ui_spinAFreq", "ui_spinRefreshTime", "ui_chkAutoDetect", "ui_cbTuning",
                                     "ui_spinMinHT", "ui_spinMaxHT", "ui_chkAutoSaveOnExit"}));
    }

    void autoSaveOffKeepsOtherStoredValues()
    {
        writeFile("[orfe009801]\nAuto\\ui_spinRefreshTime=35\nwidth=640\nheight=480\nui_cbTransports=JACK\n");
        {
            CustomInstrumentTunerForm window;
            window.m_config_form.ui_spinRefreshTime->setValue(50);
            window.m_config_form.ui_spinMinHT->setValue(-20);
            window.resize(760, 560); // within the 800 x 600 offscreen screen
        }
        QCOMPARE(autoKeys(), Sorted({"ui_chkAutoSaveOnExit", "ui_spinRefreshTime"}));
        QSettings raw(file(), QSettings::IniFormat);
        QCOMPARE(raw.value("orfe009801/Auto/ui_spinRefreshTime").toInt(), 35);
        QCOMPARE(raw.value("orfe009801/width").toInt(), 640);
        QCOMPARE(raw.value("orfe009801/ui_cbTransports").toString(), QStringLiteral("JACK"));
    }

    void autoSaveOnStoresEverything()
    {
        {
            CustomInstrumentTunerForm window;
            window.m_config_form.ui_chkAutoSaveOnExit->setChecked(true);
            window.m_config_form.ui_spinMinHT->setValue(-20);
            window.ui_spinAFreq->setValue(415);
            window.resize(760, 560); // within the 800 x 600 offscreen screen
        }
        QCOMPARE(autoKeys(), Sorted(REGISTERED));
        QCOMPARE(topKeys(), Sorted({"height", "ui_cbQtDeviceName", "ui_cbTransports", "width"}));
        QSettings raw(file(), QSettings::IniFormat);
        QCOMPARE(raw.value("orfe009801/Auto/ui_spinMinHT").toInt(), -20);
        QCOMPARE(raw.value("orfe009801/Auto/ui_spinAFreq").toInt(), 415);
        QCOMPARE(raw.value("orfe009801/Auto/ui_chkAutoSaveOnExit").toBool(), true);
        QCOMPARE(raw.value("orfe009801/width").toInt(), 760);
        QCOMPARE(raw.value("orfe009801/height").toInt(), 560);

        // And the next start gets it all back.
        CustomInstrumentTunerForm again;
        QCOMPARE(again.m_config_form.ui_spinMinHT->value(), -20);
        QCOMPARE(again.ui_spinAFreq->value(), 415);
        QCOMPARE(again.size(), QSize(760, 560));
    }

    void saveActionStoresEverything()
    {
        CustomInstrumentTunerForm window;
        window.m_config_form.ui_txtJACKSourcePort->setText("system:capture_1");
        window.saveSettingsAction->trigger();
        window.m_settings.sync();
        QCOMPARE(autoKeys(), Sorted(REGISTERED));
        QSettings raw(file(), QSettings::IniFormat);
        QCOMPARE(raw.value("orfe009801/Auto/ui_txtJACKSourcePort").toString(),
                 QStringLiteral("system:capture_1"));
        QCOMPARE(raw.value("orfe009801/width").toInt(), 800);
        QCOMPARE(raw.value("orfe009801/height").toInt(), 600);
    }

    void storedTransportThatNoLongerExists()
    {
        writeFile("[orfe009801]\nui_cbTransports=ALSA\nui_cbQtDeviceName=no such device\n"
                  "Auto\\ui_chkAutoDetect=false\n");
        CustomInstrumentTunerForm window;
        // No transport of that name is listed: the selection stays on the first
        // entry of the list, which is then applied.
        QCOMPARE(window.m_config_form.ui_cbTransports->itemText(0), QStringLiteral("Qt"));
        QCOMPARE(window.m_config_form.ui_cbTransports->currentIndex(), 0);
        QCOMPARE(window.m_capture_thread.getCurrentTransportIndex(), 0);
        // The device list holds what the system reports; the stored name is not invented.
        QVERIFY(window.m_config_form.ui_cbQtDeviceName->findText("no such device") < 0);
    }

    void restoreFactorySettingsNo()
    {
        {
            CustomInstrumentTunerForm window;
            window.saveSettings();
        }
        const QByteArray before = readFile();
        CustomInstrumentTunerForm window;
        MessageBoxAnswers answers({QMessageBox::No});
        window.m_config_form.ui_btnRestoreFactorySettings->click();
        window.m_settings.sync();
        QVERIFY(answers.m_answers.isEmpty());
        QCOMPARE(answers.m_texts.size(), 1);
        QVERIFY(answers.m_texts[0].startsWith("Restore Factory Settings|This operation is NOT reversible."));
        QCOMPARE(readFile(), before);
    }

    void restoreFactorySettingsYes()
    {
        writeFile("[orfe009801]\nDial\\show=true\n[other]\nkeep=1\n");
        {
            CustomInstrumentTunerForm window;
            window.saveSettings();
        }
        QCOMPARE(autoKeys(), Sorted(REGISTERED));
        {
            // Saving wrote the views' groups as well.
            QSettings saved(file(), QSettings::IniFormat);
            QVERIFY(saved.contains("orfe009801/Dial/spinScale"));
            QVERIFY(saved.contains("orfe009801/Error history/show"));
        }
        CustomInstrumentTunerForm window;
        window.m_config_form.ui_spinMaxHT->setValue(30);
        MessageBoxAnswers answers({QMessageBox::Yes, QMessageBox::Ok});
        window.restoreFactorySettings();
        window.m_settings.sync();
        QCOMPARE(answers.m_texts.size(), 2);
        QCOMPARE(
            answers.m_texts[1],
            QStringLiteral("Restore Factory Settings|You can now restart ORFE to get back factory settings"));
        QCOMPARE(autoKeys(), QStringList());
        QCOMPARE(topKeys(), QStringList());
        QSettings raw(file(), QSettings::IniFormat);
        // The views' keys go too; keys outside the program's group stay.
        QVERIFY(!raw.contains("orfe009801/Dial/show"));
        QVERIFY(!raw.contains("orfe009801/Error history/show"));
        QVERIFY(!raw.contains("orfe009801/Dial/spinScale"));
        QCOMPARE(raw.value("other/keep").toInt(), 1);
        QCOMPARE(window.m_config_form.ui_spinMaxHT->value(), 30); // the screen keeps its values
    }

    // A settings path that is a folder (unreadable and unwritable, even for
    // root): factory values, no crash, nothing written at exit.
    void storeThatIsAFolder()
    {
        QVERIFY(QDir().mkpath(file()));
        {
            CustomInstrumentTunerForm window;
            QVERIFY(!window.m_settings.readable());
            QCOMPARE(window.size(), QSize(800, 600));
            QCOMPARE(window.m_config_form.ui_spinRefreshTime->value(), 20);
            window.m_config_form.ui_chkAutoSaveOnExit->setChecked(true);
            window.saveSettings(); // asked for: tried, fails quietly, the program goes on
        }
        QVERIFY(QFileInfo(file()).isDir());
    }

    // A file the user cannot read (permissions): factory values, and the exit
    // does not replace what is in it.
    void storeWithoutReadPermission()
    {
        if (geteuid() == 0) QSKIP("running as root: file permissions do not stop root from reading");
        writeFile("[orfe009801]\nAuto\\ui_spinRefreshTime=35\n");
        QVERIFY(QFile::setPermissions(file(), QFileDevice::WriteOwner));
        {
            CustomInstrumentTunerForm window;
            QVERIFY(!window.m_settings.readable());
            QCOMPARE(window.m_config_form.ui_spinRefreshTime->value(), 20);
        }
        QVERIFY(QFile::setPermissions(file(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(readFile(), QByteArray("[orfe009801]\nAuto\\ui_spinRefreshTime=35\n"));
    }

    // A file that is not INI: whatever Qt could read is used; the file is not
    // rewritten at exit.
    void storeWithFormatError()
    {
        const QByteArray damaged("[orfe009801\nAuto\\ui_spinRefreshTime=35\n\x00\x01\xff[\nwidth\n", 47);
        writeFile(damaged);
        {
            CoutCapture out;
            CustomInstrumentTunerForm window;
            QVERIFY(!window.m_settings.readable());
            QVERIFY(window.m_settings.damaged());
            // The readable line was loaded, and the start says what the exit will do.
            QCOMPARE(window.m_config_form.ui_spinRefreshTime->value(), 35);
            QVERIFY2(
                QString::fromStdString(out.str()).contains("the settings on its readable lines are loaded"),
                out.str().c_str());
        }
        QCOMPARE(readFile(), damaged);
    }

    void closingClosesTheDialog()
    {
        CustomInstrumentTunerForm window;
        window.show();
        window.configAction->trigger();
        QVERIFY(window.m_config_form.isVisible());
        QVERIFY(window.close());
        QVERIFY(!window.m_config_form.isVisible());
        QVERIFY(!window.isVisible());
    }

    void aboutVersionBlock()
    {
        const QStringList lines = AboutBox::versionText().split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("Version 1.2.6"));
        QCOMPARE(lines[1], QStringLiteral("Compiled by GCC %1.%2.%3 for %4bits")
                               .arg(__GNUC__)
                               .arg(__GNUC_MINOR__)
                               .arg(__GNUC_PATCHLEVEL__)
                               .arg(sizeof(void*) * 8));
        QCOMPARE(lines[2], QStringLiteral("Compiled with Qt " QT_VERSION_STR " Running with Qt ") +
                               QLatin1String(qVersion()));
    }

    void aboutBoxContents()
    {
        AboutBox box;
        QCOMPARE(box.windowTitle(), QString::fromUtf8("About ORFE\u2026"));
        QCOMPARE(box.size(), QSize(638, 652));
        auto* version = box.findChild<QLabel*>("lblVersion");
        QVERIFY(version);
        QCOMPARE(version->text(), AboutBox::versionText());
        QCOMPARE(version->textFormat(), Qt::PlainText);
        auto* about = box.findChild<QTextBrowser*>("txtAbout");
        QVERIFY(about);
        const QString html = about->toHtml();
        QVERIFY(html.contains("Purpose"));
        QVERIFY(html.contains("is a graphical utility for tuning your musical instruments"));
        QVERIFY(html.contains("Legal"));
        QVERIFY(html.contains("Disclaimer"));
        QVERIFY(about->openExternalLinks());
        auto* tabs = box.findChild<QTabWidget*>("tabWidget");
        QVERIFY(tabs);
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(tabs->tabText(0), QStringLiteral("About"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Credits"));
        auto* icon = box.findChild<QLabel*>("label");
        QVERIFY(icon && !icon->pixmap(Qt::ReturnByValue).isNull());
    }

    // The about action opens the box modally; Close returns to the window.
    void aboutBoxOpensAndCloses_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close button") << false;
        QTest::newRow("escape") << true;
    }
    void aboutBoxOpensAndCloses()
    {
        QFETCH(bool, escape);
        CustomInstrumentTunerForm window;
        window.show();
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
            seen = box != nullptr;
            if (!box) return;
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Close)->click();
        });
        window.helpAboutAction->trigger(); // returns when the box is closed
        QVERIFY(seen);
        QVERIFY(window.findChildren<AboutBox*>().isEmpty()); // destroyed after exec
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
