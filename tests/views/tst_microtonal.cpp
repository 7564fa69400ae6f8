// The microtonal view on a real X server: its buttons, menu, signals, pixels
// and settings, with scale files written to a temporary directory.
//
// Figures used below (reference A4 = 440 Hz, root 3 = C5, octave 3):
//   s = root + 12 x octave - 60 = 3 + 36 - 60 = -21 semitones from A4 (C3),
//   the 3/2 degree: 440 x 2^(-21/12) x 1.5 = 130.8128 x 1.5 = 196.2192 Hz,
//   with octave 4: s = -9 (C4), 440 x 2^(-9/12) x 1.5 = 392.4383 Hz.
// The band runs from b (centre of the first root button) to e (centre of the
// 13th), w = e - b; a semitone is w / 12.

#include "CoutCapture.h"
#include "MicrotonalView.h"
#include "ViewTestUtil.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <memory>

using namespace viewtest;

namespace {

const QColor BLUE(0, 0, 255);
const QColor SELECTED(210, 210, 255);

QString writeScale(const QTemporaryDir& dir, const QString& file, const QByteArray& text)
{
    QFile f(dir.filePath(file));
    if (!f.open(QIODevice::WriteOnly)) return QString();
    f.write(text);
    return f.fileName();
}

// Answers the modal dialogs that open next: a file dialog chooses `path`, a
// message box is read into `text` and closed.
void answerDialogs(const QString& path, QString* text)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, path, text]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            // Typed into the file name box, as a user would.
            if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            *text = box->text();
            box->accept();
            timer->deleteLater();
        }
    });
    timer->start(50);
}

} // namespace

class TestMicrotonalView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_installed; // one scale "Test steps": 0.0, 3/2, 100.0, 2/1
    std::unique_ptr<MicrotonalView> m_view;

    const MicrotonalView::ScaleDegree* degree(const QString& text)
    {
        for (const auto& d : m_view->m_current_scale->values)
            if (d.text() == text) return &d;
        return nullptr;
    }

    QImage shown()
    {
        m_view->m_show_action->setChecked(true);
        m_view->resize(900, 200);
        if (!QTest::qWaitForWindowExposed(m_view.get())) return QImage();
        return m_view->grab().toImage();
    }

private slots:
    void initTestCase()
    {
        QDir(m_dir.path()).mkdir("installed");
        m_installed = m_dir.filePath("installed");
        writeScale(m_dir, "installed/steps.scl", "Test steps\n4\n0.0\n3/2\n100.0\n2/1\n");
    }

    void init() { m_view = std::make_unique<MicrotonalView>(nullptr, m_installed); }
    void cleanup() { m_view.reset(); }

    void construction()
    {
        const QStringList names{"C5", "C\u266F5", "D5", "E\u266D5", "E5", "F5", "F\u266F5",
                                "G5", "G\u266F5", "A5", "B\u266D5", "B5", "C6"};
        QCOMPARE(m_view->m_roots.size(), 13);
        for (int i = 0; i < 13; ++i) {
            QCOMPARE(m_view->m_roots[i]->text(), names[i]);
            QCOMPARE(m_view->m_roots[i]->isEnabled(), i < 12);
            QCOMPARE(m_view->m_roots[i]->isChecked(), i == 0);
        }
        QCOMPARE(m_view->m_root, 3);
        QCOMPARE(m_view->m_octave_spin->value(), 3);
        QVERIFY(!m_view->isVisible());
        const QList<QAction*> scales = m_view->m_scales_menu.actions();
        QCOMPARE(scales.size(), 2);
        QCOMPARE(scales[0]->text(), QString("default"));
        QVERIFY(scales[0]->isChecked() && !scales[1]->isChecked());
        QCOMPARE(m_view->tuningNoteText(), QString("no tuning note selected"));
    }

    void tuningFrequency()
    {
        shown();
        QSignalSpy spy(m_view.get(), SIGNAL(tuningFreqChanged(float)));
        const MicrotonalView::ScaleDegree* fifth = degree("3/2");
        QVERIFY(fifth && fifth->label_rect.isValid());
        QTest::mouseClick(m_view->m_ratios_label, Qt::LeftButton, {}, fifth->label_rect.center());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy[0][0].toFloat(), float(440.0 * std::pow(2.0, -21.0 / 12.0) * 1.5));
        QCOMPARE(m_view->tuningNoteText(), QString("C3:3/2"));
        // The selected degree's label is filled light blue.
        const QImage img = m_view->m_ratios_label->grab().toImage();
        QVERIFY(isColour(img, fifth->label_rect.right() - 1, fifth->label_rect.bottom() - 1, SELECTED));

        m_view->m_octave_spin->setValue(4);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy[1][0].toFloat(), float(440.0 * std::pow(2.0, -9.0 / 12.0) * 1.5));
        QCOMPARE(m_view->tuningNoteText(), QString("C4:3/2"));

        m_view->selectScale(1);
        m_view->selectScale(QString("default"));
        QCOMPARE(spy.count(), 2);

        // A click beside every label selects nothing and emits 0.
        QTest::mouseClick(m_view->m_ratios_label, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy[2][0].toFloat(), 0.0f);
    }

    void keepRootToLeft()
    {
        m_view->m_keep_root_action->setChecked(true);
        m_view->selectRoot(7);
        // Notes 7..11, 0..7: E5 F5 F#5 G5 G#5 A4 Bb4 B4 C5 C#5 D5 Eb5 E5.
        const int expected[13] = {7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5, 6, 7};
        for (int i = 0; i < 13; ++i) {
            QCOMPARE(m_view->m_roots[i]->ht, expected[i]);
            QCOMPARE(m_view->m_roots[i]->isChecked(), i == 0 || i == 12);
        }
        QCOMPARE(m_view->m_roots[5]->text(), QString("A4"));
        QCOMPARE(m_view->m_roots[12]->text(), QString("E5"));
        m_view->m_keep_root_action->setChecked(false);
        QCOMPARE(m_view->m_roots[5]->ht, 0);
    }

    void degreesInTheBand()
    {
        shown();
        m_view->selectScale(QString("Test steps"));
        const QImage img = m_view->m_ratios_label->grab().toImage();
        const int b = m_view->bandBegin(), e = m_view->bandEnd();
        // 0 cents at b, 2/1 at e, 3/2 at b + 7.01955 semitones; blue lines below
        // the semitone ticks (12 pixels long).
        QVERIFY(isColour(img, b, 13, BLUE));
        QVERIFY(isColour(img, e, 13, BLUE));
        QCOMPARE(degree("0")->label_rect.left(), b);
        QCOMPARE(degree("2/1")->label_rect.left(), e);
        QCOMPARE(degree("3/2")->label_rect.left(), b + int(701.955 / 1200.0 * (e - b)));
        // Rows 0, 1, 2, 0: each label's rectangle ends at its row's bottom,
        // row x r + 14 + r.
        const int bottoms[4] = {degree("0")->label_rect.bottom(), degree("3/2")->label_rect.bottom(),
                                degree("100")->label_rect.bottom(), degree("2/1")->label_rect.bottom()};
        const int r = bottoms[1] - bottoms[0];
        QVERIFY(r > 0);
        QCOMPARE(bottoms[0], 14 + r);
        QCOMPARE(bottoms[2], 2 * r + 14 + r);
        QCOMPARE(bottoms[3], bottoms[0]);
    }

    void marker()
    {
        shown();
        const int b = m_view->bandBegin(), w = m_view->bandEnd() - b;
        const int h = m_view->m_scale_label->height();
        // A lies 9 semitones above the first root (C): x = b + trunc(9w/12).
        m_view->updateCursor(440.0f);
        QImage img = m_view->m_scale_label->grab().toImage();
        QVERIFY(isColour(img, b + 9 * w / 12, h - 2, BLUE));
        QVERIFY(!isColour(img, b + 3 * w / 12, h - 2, BLUE));
        // A tenth of a semitone above C5 (3.1 semitones above A4): p = 0.1 w / 12,
        // below a quarter semitone, so the marker is drawn at both ends.
        m_view->updateCursor(float(440.0 * std::pow(2.0, 3.1 / 12.0)));
        img = m_view->m_scale_label->grab().toImage();
        const int p = int(0.1 * w / 12.0);
        QVERIFY(near(img, b + p, h - 2, BLUE, 1));
        QVERIFY(near(img, b + p + w, h - 2, BLUE, 1));
    }

    void openFiles()
    {
        QSettings settings(m_dir.filePath("open.ini"), QSettings::IniFormat);
        View::s_settings = &settings;
        // Both files in the directory the dialog starts in.
        QDir(m_dir.path()).mkdir("open");
        const QString open = m_dir.filePath("open");
        m_view->m_last_scales_dir = open;
        const QString taken = writeScale(m_dir, "open/taken.scl", "Test steps\n1\n9/8\n");
        const QString bad = writeScale(m_dir, "open/bad.scl", "Bad\n1\n5:4\n");
        QString text;
        answerDialogs(taken, &text);
        m_view->loadScale();
        QCOMPARE(text, QString("Scale name already exist"));
        QCOMPARE(m_view->setting_scales.size(), 2);
        QCOMPARE(settings.value("MicrotonalView_lastScalesDirectory").toString(), open);

        answerDialogs(bad, &text);
        m_view->loadScale();
        QCOMPARE(text, QString("Invalid file content !\n(Line 3: There is no slash between numerator and "
                               "denominator:')"));
        QCOMPARE(m_view->setting_scales.size(), 2);
        View::s_settings = nullptr;
    }

    void settings()
    {
        const QString good = writeScale(m_dir, "good.scl", "Good one\n1\n7/4\n");
        const QString gone = m_dir.filePath("gone.scl");
        QSettings settings(m_dir.filePath("load.ini"), QSettings::IniFormat);
        settings.setValue("scales", QStringList{gone, good});
        settings.setValue("selectedScale", "Good one");
        settings.setValue("selectedRoot", 5);
        settings.setValue("octave", 2);
        View::s_settings = &settings;
        CoutCapture out;
        m_view->load();
        QCOMPARE(QString::fromStdString(out.str()), "MicrotonalView::load Unkown filename: '" + gone + "'\n");
        QCOMPARE(m_view->setting_scales.size(), 3);
        QCOMPARE(m_view->m_current_scale->name, QString("Good one"));
        QVERIFY(m_view->m_scales_menu.actions()[2]->isChecked());
        QCOMPARE(m_view->m_root, 5);
        QCOMPARE(m_view->m_octave_spin->value(), 2);

        settings.clear();
        m_view->save();
        // Every scale read from a file, the installed one included.
        QCOMPARE(settings.value("scales").toStringList(),
                 (QStringList{m_dir.filePath("installed/steps.scl"), good}));
        QCOMPARE(settings.value("selectedScale").toString(), QString("Good one"));
        QCOMPARE(settings.value("selectedRoot").toInt(), 5);
        QCOMPARE(settings.value("keepRootToLeft").toBool(), false);
        m_view->clearSettings();
        QVERIFY(settings.allKeys().isEmpty());
        View::s_settings = nullptr;
    }
};

QTEST_MAIN(TestMicrotonalView)
#include "tst_microtonal.moc"
