// The real program, started as a separate process: what it prints first, that
// closing its window ends it with status 0, and that bad settings files do not
// stop it. The program's screenshot hook (ORFE_SCREENSHOT_DIR) grabs the
// windows and then closes the main window through the normal close path.

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestProgram : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString configFile() const { return m_dir->path() + "/config/orfe/orfe.conf"; }
    QString shotDir() const { return m_dir->path() + "/shots"; }

    void writeConfig(const QByteArray& contents)
    {
        QDir().mkpath(m_dir->path() + "/config/orfe");
        QFile f(configFile());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contents);
    }

    // Runs the program until it exits by itself; returns its standard output.
    QByteArray run(int* exit_code, QProcess::ExitStatus* exit_status)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_dir->path() + "/config");
        env.insert("ORFE_SCREENSHOT_DIR", shotDir());
        env.insert("LANG", "C");
        env.insert("LC_ALL", "C");
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ORFE_EXECUTABLE), QStringList());
        if (!p.waitForStarted(30000)) return QByteArray();
        // No deadline is asserted here; the CTest timeout catches a hang.
        p.waitForFinished(-1);
        *exit_code = p.exitCode();
        *exit_status = p.exitStatus();
        const QByteArray err = p.readAllStandardError();
        if (*exit_code != 0) qWarning("standard error: %s", err.constData());
        return p.readAllStandardOutput();
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void startsPrintsAndExitsWithZero()
    {
        int code = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        const QList<QByteArray> lines = run(&code, &status).split('\n');
        QCOMPARE(status, QProcess::NormalExit);
        QCOMPARE(code, 0);
        QVERIFY(lines.size() >= 3);
        QCOMPARE(lines[0], QByteArray("Orfeon (Version 1.2.6)"));
        // LANG=C: the system locale's name is "C"; neither catalogue exists.
        QVERIFY2(lines[1].startsWith("INFO: Loading Qt translation file: qt_C in /"), lines[1].constData());
        QCOMPARE(lines[2],
                 QByteArray("INFO: Loading ORFE translation file: orfe_C in " ORFE_INSTALL_PREFIX_TEXT
                            "/share/orfe/translations"));

        // The hook grabbed the windows before closing: the main window at the
        // size a first start gives it.
        const QImage main(shotDir() + "/main-window.png");
        QVERIFY(!main.isNull());
        QCOMPARE(main.size() / main.devicePixelRatio(), QSize(800, 600));
        for (const char* name : {"config-general", "config-capture-system", "config-sound-analysis", "about"})
            QVERIFY2(!QImage(shotDir() + "/" + name + ".png").isNull(), name);

        // Auto-save is off at a first start: only that choice was stored.
        QFile f(configFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().trimmed(), QByteArray("[orfe009801]\nAuto\\ui_chkAutoSaveOnExit=false"));
    }

    void garbageSettingsFile()
    {
        const QByteArray garbage("[orfe009801]\nAuto\\ui_spinAFreq=\xff\xfe\nAuto\\ui_chkFullScreen=3\n"
                                 "Auto\\ui_spinRefreshTime=@Variant(\\0\\0\\0\\x7f)\nwidth=-1\nheight=abc\n"
                                 "ui_cbTransports=@ByteArray(\\x1)\n");
        writeConfig(garbage);
        int code = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        const QByteArray out = run(&code, &status);
        QCOMPARE(status, QProcess::NormalExit);
        QCOMPARE(code, 0);
        QVERIFY(out.contains("AutoQSettings: WARNING: ignoring the stored value"));
        const QImage main(shotDir() + "/main-window.png");
        QCOMPARE(main.size() / main.devicePixelRatio(), QSize(800, 600));
    }

    void settingsPathIsAFolder()
    {
        QVERIFY(QDir().mkpath(configFile()));
        int code = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        const QByteArray out = run(&code, &status);
        QCOMPARE(status, QProcess::NormalExit);
        QCOMPARE(code, 0);
        QVERIFY(out.contains("AutoQSettings: WARNING: cannot read the settings file"));
        QVERIFY(QFileInfo(configFile()).isDir());
    }

    void settingsFolderCannotBeWritten()
    {
        // The configuration folder is a file: nothing can be created under it.
        QVERIFY(QDir().mkpath(m_dir->path()));
        QFile blocker(m_dir->path() + "/config");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
        blocker.close();
        int code = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        run(&code, &status);
        QCOMPARE(status, QProcess::NormalExit);
        QCOMPARE(code, 0);
        QVERIFY(blocker.open(QIODevice::ReadOnly));
        QCOMPARE(blocker.readAll(), QByteArray("not a folder"));
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
