// The real program, started as a separate process: what it prints first, that
// closing its window ends it with status 0, and that bad settings files do not
// stop it. The program's screenshot hook (ORFE_SCREENSHOT_DIR) grabs the
// windows and then closes the main window through the normal close path.

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sys/types.h>
#include <unistd.h>

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

    // Starts the program with its settings under the temporary folder; with
    // `screenshots` its hook grabs the windows and then closes the main window.
    // `wrapper` runs it through another command (another user's identity).
    void start(QProcess& p, bool screenshots, const QStringList& wrapper = QStringList(),
               const QStringList& extra_env = QStringList())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_dir->path() + "/config");
        if (screenshots) env.insert("ORFE_SCREENSHOT_DIR", shotDir());
        env.insert("LANG", "C");
        env.insert("LC_ALL", "C");
        for (const QString& variable : extra_env)
            env.insert(variable.section('=', 0, 0), variable.section('=', 1));
        p.setProcessEnvironment(env);
        if (wrapper.isEmpty())
            p.start(QStringLiteral(ORFE_EXECUTABLE), QStringList());
        else
            p.start(wrapper.first(), wrapper.mid(1) << QStringLiteral(ORFE_EXECUTABLE));
    }

    // Waits for the program to exit by itself; returns its standard output.
    QByteArray finish(QProcess& p, int* exit_code, QProcess::ExitStatus* exit_status)
    {
        // No deadline is asserted here; the CTest timeout catches a hang.
        p.waitForFinished(-1);
        *exit_code = p.exitCode();
        *exit_status = p.exitStatus();
        const QByteArray err = p.readAllStandardError();
        if (*exit_code != 0) qWarning("standard error: %s", err.constData());
        return p.readAllStandardOutput();
    }

    // Runs the program until it exits by itself; returns its standard output.
    QByteArray run(int* exit_code, QProcess::ExitStatus* exit_status,
                   const QStringList& wrapper = QStringList(), const QStringList& extra_env = QStringList())
    {
        QProcess p;
        start(p, true, wrapper, extra_env);
        if (!p.waitForStarted(30000)) return QByteArray();
        return finish(p, exit_code, exit_status);
    }

    QSize mainWindowShotSize() const
    {
        const QImage main(shotDir() + "/main-window.png");
        return main.isNull() ? QSize() : main.size() / main.devicePixelRatio();
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
        QCOMPARE(mainWindowShotSize(), QSize(800, 600));
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

    // A stored size far larger than any screen opens at the screen's free area
    // (it used to open a 32767 x 32767 window that ran out of memory).
    void hugeStoredSizeOpensWithinTheScreen()
    {
        writeConfig("[orfe009801]\nwidth=100000\nheight=100000\n");
        int code = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        run(&code, &status);
        QCOMPARE(status, QProcess::NormalExit);
        QCOMPARE(code, 0);
        // The program and this test see the same display (offscreen: 800 x 600).
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(mainWindowShotSize(), screen.size());
    }

    // SIGTERM (a logout, kill), SIGINT (Ctrl+C) and SIGHUP (a closed terminal)
    // end the program as closing its window does: status 0, auto-save done.
    void endSignalSavesTheSettings_data()
    {
        QTest::addColumn<int>("signal_number");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void endSignalSavesTheSettings()
    {
        QFETCH(int, signal_number);
        writeConfig("[orfe009801]\nAuto\\ui_chkAutoSaveOnExit=true\nwidth=640\nheight=480\n");
        QProcess p;
        start(p, false);
        QVERIFY(p.waitForStarted(30000));
        // The handlers are in place before the translation lines are printed.
        QByteArray out;
        while (!out.contains("INFO: Loading ORFE translation file") && p.waitForReadyRead(-1))
            out += p.readAllStandardOutput();
        QVERIFY2(out.contains("INFO: Loading ORFE translation file"), out.constData());
        QCOMPARE(::kill(static_cast<pid_t>(p.processId()), signal_number), 0);
        int code = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        finish(p, &code, &status);
        QCOMPARE(status, QProcess::NormalExit);
        QCOMPARE(code, 0);
        // Auto-save stored every control and the window size, not just the choice.
        QSettings stored(configFile(), QSettings::IniFormat);
        stored.beginGroup("orfe009801");
        QCOMPARE(stored.value("Auto/ui_spinRefreshTime").toString(), QString("20"));
        QCOMPARE(stored.value("Auto/ui_chkAutoSaveOnExit").toString(), QString("true"));
        QCOMPARE(stored.value("width").toString(), QString("640"));
        QVERIFY(stored.contains("ui_cbTransports"));
    }

    // A settings file or folder that cannot be written: the auto-save at exit
    // fails, says so, and leaves the file as it was. Root may write anywhere,
    // so then the program runs as the unprivileged user "nobody".
    void readOnlySettings_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("read-only folder") << true;
        QTest::newRow("read-only file") << false;
    }
    void readOnlySettings()
    {
        QFETCH(bool, folder);
        const QByteArray contents(
            "[orfe009801]\nAuto\\ui_chkAutoSaveOnExit=true\nAuto\\ui_spinRefreshTime=35\n");
        writeConfig(contents);
        QStringList wrapper;
        if (geteuid() == 0) {
            const QString setpriv = QStandardPaths::findExecutable("setpriv");
            if (setpriv.isEmpty()) QSKIP("running as root without setpriv: cannot run as another user");
            QCOMPARE(QProcess::execute("chown", {"-R", "65534:65534", m_dir->path()}), 0);
            wrapper << setpriv << "--reuid=65534"
                    << "--regid=65534"
                    << "--clear-groups";
        }
        const QString dir = QFileInfo(configFile()).absolutePath();
        const QFileDevice::Permissions read_only =
            QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QVERIFY(
            QFile::setPermissions(folder ? dir : configFile(),
                                  read_only | (folder ? QFileDevice::ExeOwner : QFileDevice::Permissions())));
        int code = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        // Offscreen: another user may not be allowed on this test's X display.
        QStringList env{"QT_QPA_PLATFORM=offscreen"};
#if defined(__SANITIZE_ADDRESS__)
        // The kernel makes a process that changed its user undumpable: LeakSanitizer
        // cannot attach to it at exit and aborts, so this one run goes without it.
        if (!wrapper.isEmpty()) env << "ASAN_OPTIONS=detect_leaks=0";
#endif
        const QByteArray out = run(&code, &status, wrapper, env);
        QVERIFY(QFile::setPermissions(dir, read_only | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        QCOMPARE(status, QProcess::NormalExit);
        QCOMPARE(code, 0);
        QVERIFY2(out.contains(("AutoQSettings: ERROR: the settings could not be saved: " + configFile() +
                               " or its folder cannot be written")
                                  .toLocal8Bit()),
                 out.constData());
        QFile f(configFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), contents);
    }

    // One line that cannot be read: the console says that the other lines
    // were loaded, and that the exit will not write the file.
    void malformedLineIsExplained()
    {
        const QByteArray contents("[orfe009801\nAuto\\ui_chkAutoSaveOnExit=true\n");
        writeConfig(contents);
        int code = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        const QByteArray out = run(&code, &status);
        QCOMPARE(status, QProcess::NormalExit);
        QCOMPARE(code, 0);
        QVERIFY2(out.contains("cannot be read; the settings on its readable lines are loaded"),
                 out.constData());
        QVERIFY2(out.contains("the current settings are not saved to it"), out.constData());
        QFile f(configFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), contents);
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
