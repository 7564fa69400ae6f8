// The settings store: registered controls saved, loaded and cleared under
// "Auto/" in the program's group, in a real INI file in a temporary folder.

#include "AutoQSettings.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// One control of each kind (two spin boxes, two radio buttons), with object
// names and values away from Qt's defaults so that a lost value shows.
struct Controls
{
    QWidget parent;
    QCheckBox* check = new QCheckBox(&parent);
    QSpinBox* spinA = new QSpinBox(&parent);
    QSpinBox* spinB = new QSpinBox(&parent);
    QLineEdit* edit = new QLineEdit(&parent);
    QComboBox* combo = new QComboBox(&parent);
    QGroupBox* group = new QGroupBox(&parent);
    QRadioButton* radioA = new QRadioButton(group);
    QRadioButton* radioB = new QRadioButton(group);

    Controls()
    {
        check->setObjectName("ui_chkA");
        spinA->setObjectName("ui_spinA");
        spinA->setRange(-100, 100);
        spinA->setValue(5);
        spinB->setObjectName("ui_spinB");
        spinB->setRange(1, 64);
        spinB->setValue(8);
        edit->setObjectName("ui_txtA");
        edit->setText("/dev/dsp");
        combo->setObjectName("ui_cbA");
        combo->addItems({"zero", "one", "two", "three", "four"});
        group->setObjectName("ui_grpA");
        group->setCheckable(true);
        group->setChecked(true);
        radioA->setObjectName("ui_rdA");
        radioB->setObjectName("ui_rdB");
        radioA->setChecked(true);
    }
    void registerWith(AutoQSettings& s)
    {
        s.add(check);
        s.add(spinA);
        s.add(edit);
        s.add(combo);
        s.add(group);
        s.add(radioA);
        s.add(spinB);
        s.add(radioB);
    }
};

const QStringList REGISTERED{"ui_cbA", "ui_chkA",  "ui_grpA",  "ui_rdA",
                             "ui_rdB", "ui_spinA", "ui_spinB", "ui_txtA"};

} // namespace

class TestAutoQSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString file() const { return m_dir->path() + "/orfe/orfe.conf"; }
    std::unique_ptr<AutoQSettings> store()
    {
        return std::make_unique<AutoQSettings>("orfe", "orfe", "009801");
    }
    // Writes the INI file by hand, as a user or an older version might have.
    void writeFile(const QByteArray& contents)
    {
        QDir().mkpath(m_dir->path() + "/orfe");
        QFile f(file());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contents);
    }
    QStringList storedAutoKeys()
    {
        QSettings raw(file(), QSettings::IniFormat);
        raw.beginGroup("orfe009801/Auto");
        QStringList keys = raw.childKeys();
        keys.sort();
        return keys;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir->path());
    }

    void groupAndFile()
    {
        auto s = store();
        QCOMPARE(s->group(), QStringLiteral("orfe009801"));
        QCOMPARE(QFileInfo(s->fileName()).absoluteFilePath(), QFileInfo(file()).absoluteFilePath());
        QVERIFY(s->readable());
        // A first start writes nothing by itself.
        s.reset();
        QVERIFY(!QFile::exists(file()));
    }

    void saveThenLoadInAFreshStore()
    {
        {
            Controls c;
            auto s = store();
            c.registerWith(*s);
            c.check->setChecked(true);
            c.spinA->setValue(-42);
            c.spinB->setValue(33);
            c.edit->setText("hw:1, with comma");
            c.combo->setCurrentIndex(3);
            c.group->setChecked(false);
            c.radioB->setChecked(true);
            s->save();
        }
        QCOMPARE(storedAutoKeys(), REGISTERED);
        {
            QSettings raw(file(), QSettings::IniFormat);
            QCOMPARE(raw.value("orfe009801/Auto/ui_spinA").toInt(), -42);
            QCOMPARE(raw.value("orfe009801/Auto/ui_txtA").toString(), QStringLiteral("hw:1, with comma"));
            QCOMPARE(raw.allKeys().size(), REGISTERED.size()); // nothing outside "Auto/"
        }
        Controls fresh;
        auto s = store();
        fresh.registerWith(*s);
        s->load();
        QCOMPARE(fresh.check->isChecked(), true);
        QCOMPARE(fresh.spinA->value(), -42);
        QCOMPARE(fresh.spinB->value(), 33);
        QCOMPARE(fresh.edit->text(), QStringLiteral("hw:1, with comma"));
        QCOMPARE(fresh.combo->currentIndex(), 3);
        QCOMPARE(fresh.group->isChecked(), false);
        QCOMPARE(fresh.radioA->isChecked(), false);
        QCOMPARE(fresh.radioB->isChecked(), true);
    }

    void missingKeysLeaveControls()
    {
        writeFile("[orfe009801]\nAuto\\ui_spinB=12\n");
        Controls c;
        auto s = store();
        c.registerWith(*s);
        s->load();
        QCOMPARE(c.spinB->value(), 12);
        QCOMPARE(c.spinA->value(), 5);
        QCOMPARE(c.edit->text(), QStringLiteral("/dev/dsp"));
        QCOMPARE(c.combo->currentIndex(), 0);
        QCOMPARE(c.group->isChecked(), true);
        QCOMPARE(c.radioA->isChecked(), true);
    }

    void clearRemovesExactlyTheRegisteredKeys()
    {
        writeFile("[orfe009801]\nwidth=700\nAuto\\foreign=1\nDial\\show=true\n[elsewhere]\nkey=v\n");
        Controls c;
        auto s = store();
        c.registerWith(*s);
        s->save();
        s->sync();
        QCOMPARE(storedAutoKeys().size(), REGISTERED.size() + 1);
        c.spinA->setValue(77);
        s->clear();
        s->sync();
        QCOMPARE(storedAutoKeys(), QStringList{"foreign"});
        QSettings raw(file(), QSettings::IniFormat);
        QCOMPARE(raw.value("orfe009801/width").toInt(), 700);
        QCOMPARE(raw.value("orfe009801/Dial/show").toBool(), true);
        QCOMPARE(raw.value("elsewhere/key").toString(), QStringLiteral("v"));
        // The controls on screen keep their values.
        QCOMPARE(c.spinA->value(), 77);
    }

    // Loading a different value emits the control's change signal once;
    // loading the value it already has emits nothing.
    void loadEmitsOnlyOnChange_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("emissions");
        QTest::newRow("check changed") << "ui_chkA"
                                       << "true" << 1;
        QTest::newRow("check same") << "ui_chkA"
                                    << "false" << 0;
        QTest::newRow("spin changed") << "ui_spinA"
                                      << "-7" << 1;
        QTest::newRow("spin same") << "ui_spinA"
                                   << "5" << 0;
        QTest::newRow("edit changed") << "ui_txtA"
                                      << "/dev/dsp1" << 1;
        QTest::newRow("edit same") << "ui_txtA"
                                   << "/dev/dsp" << 0;
        QTest::newRow("combo changed") << "ui_cbA"
                                       << "2" << 1;
        QTest::newRow("combo same") << "ui_cbA"
                                    << "0" << 0;
        QTest::newRow("group changed") << "ui_grpA"
                                       << "false" << 1;
        QTest::newRow("group same") << "ui_grpA"
                                    << "true" << 0;
        QTest::newRow("radio changed") << "ui_rdB"
                                       << "true" << 1;
        QTest::newRow("radio same") << "ui_rdB"
                                    << "false" << 0;
    }
    void loadEmitsOnlyOnChange()
    {
        QFETCH(QString, control);
        QFETCH(QString, stored);
        QFETCH(int, emissions);
        writeFile(QByteArray("[orfe009801]\nAuto\\") + control.toLatin1() + "=" + stored.toLatin1() + "\n");
        Controls c;
        auto s = store();
        c.registerWith(*s);
        QObject* object = c.parent.findChild<QObject*>(control);
        QVERIFY(object);
        const char* signal = nullptr;
        if (qobject_cast<QAbstractButton*>(object) || qobject_cast<QGroupBox*>(object))
            signal = SIGNAL(toggled(bool));
        else if (qobject_cast<QSpinBox*>(object))
            signal = SIGNAL(valueChanged(int));
        else if (qobject_cast<QLineEdit*>(object))
            signal = SIGNAL(textChanged(QString));
        else
            signal = SIGNAL(currentIndexChanged(int));
        QSignalSpy spy(object, signal);
        QVERIFY(spy.isValid());
        s->load();
        QCOMPARE(spy.count(), emissions);
    }

    // The check box's toggled signal carries the loaded state.
    void loadedCheckBoxEmitsTrue()
    {
        writeFile("[orfe009801]\nAuto\\ui_chkA=true\n");
        Controls c;
        auto s = store();
        c.registerWith(*s);
        QSignalSpy spy(c.check, &QCheckBox::toggled);
        s->load();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), true);
    }

    void outOfRangeIsClamped_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("above") << QByteArray("500") << 64; // ui_spinB is 1..64
        QTest::newRow("below") << QByteArray("-3") << 1;
        QTest::newRow("inside") << QByteArray("9") << 9;
    }
    void outOfRangeIsClamped()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, expected);
        writeFile("[orfe009801]\nAuto\\ui_spinB=" + stored + "\n");
        Controls c;
        auto s = store();
        c.registerWith(*s);
        s->load();
        QCOMPARE(c.spinB->value(), expected);
    }

    // Values that cannot be read as the control's type leave the control as it
    // is, rather than becoming 0 (then clamped) or "true".
    void unreadableValuesAreIgnored_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("spin text") << QByteArray("ui_spinB=abc") << "ui_spinB" << QVariant(8);
        QTest::newRow("spin fraction") << QByteArray("ui_spinB=3.5") << "ui_spinB" << QVariant(8);
        QTest::newRow("spin empty") << QByteArray("ui_spinB=") << "ui_spinB" << QVariant(8);
        QTest::newRow("spin list") << QByteArray("ui_spinB=1, 2") << "ui_spinB" << QVariant(8);
        QTest::newRow("check word") << QByteArray("ui_chkA=maybe") << "ui_chkA" << QVariant(false);
        QTest::newRow("check number") << QByteArray("ui_chkA=1") << "ui_chkA" << QVariant(true);
        QTest::newRow("group word") << QByteArray("ui_grpA=nope") << "ui_grpA" << QVariant(true);
        QTest::newRow("combo past end") << QByteArray("ui_cbA=5") << "ui_cbA" << QVariant(0);
        QTest::newRow("combo negative") << QByteArray("ui_cbA=-1") << "ui_cbA" << QVariant(0);
        QTest::newRow("combo text") << QByteArray("ui_cbA=two") << "ui_cbA" << QVariant(0);
        QTest::newRow("combo last") << QByteArray("ui_cbA=4") << "ui_cbA" << QVariant(4);
        QTest::newRow("edit list") << QByteArray("ui_txtA=a, b") << "ui_txtA"
                                   << QVariant(QStringLiteral("a, b"));
        QTest::newRow("edit number") << QByteArray("ui_txtA=12") << "ui_txtA"
                                     << QVariant(QStringLiteral("12"));
    }
    void unreadableValuesAreIgnored()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, control);
        QFETCH(QVariant, expected);
        writeFile("[orfe009801]\nAuto\\" + line + "\n");
        Controls c;
        auto s = store();
        c.registerWith(*s);
        s->load();
        QObject* object = c.parent.findChild<QObject*>(control);
        QVERIFY(object);
        QVariant actual;
        if (auto* spin = qobject_cast<QSpinBox*>(object))
            actual = spin->value();
        else if (auto* check = qobject_cast<QCheckBox*>(object))
            actual = check->isChecked();
        else if (auto* group = qobject_cast<QGroupBox*>(object))
            actual = group->isChecked();
        else if (auto* combo = qobject_cast<QComboBox*>(object))
            actual = combo->currentIndex();
        else if (auto* edit = qobject_cast<QLineEdit*>(object))
            actual = edit->text();
        QCOMPARE(actual, expected);
    }

    void singleButtonSave()
    {
        {
            Controls c;
            auto s = store();
            c.check->setChecked(true);
            s->beginGroup("Auto/");
            s->save(c.check);
            s->endGroup();
        }
        QCOMPARE(storedAutoKeys(), QStringList{"ui_chkA"});
        QSettings raw(file(), QSettings::IniFormat);
        QCOMPARE(raw.value("orfe009801/Auto/ui_chkA").toBool(), true);
    }

    // A store whose file is a folder cannot be read: the controls keep their
    // values, the store says so, nothing breaks.
    void storeThatIsAFolder()
    {
        QVERIFY(QDir().mkpath(file()));
        Controls c;
        auto s = store();
        QVERIFY(!s->readable());
        c.registerWith(*s);
        s->load();
        QCOMPARE(c.spinA->value(), 5);
        s->save();
        s->sync();
        QVERIFY(QFileInfo(file()).isDir());
    }
};

QTEST_MAIN(TestAutoQSettings)
#include "tst_autoqsettings.moc"
