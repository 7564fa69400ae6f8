// Entry point: banner, application set-up, translations, the main window and
// the event loop.

#include "AboutBox.h"
#include "CustomInstrumentTunerForm.h"
#include "Version.h"
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>
#include <cerrno>
#include <csignal>
#include <iostream>
#include <sys/socket.h>
#include <unistd.h>

#ifndef ORFE_APP_ID
#error "ORFE_APP_ID must be defined by the build"
#endif

namespace {

// The signals that ask the program to end: a logout or `kill` (SIGTERM), Ctrl+C
// in a terminal (SIGINT), a closed terminal (SIGHUP).
const int END_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

// Self-pipe: the handler writes the signal's number, the event loop reads it.
int s_end_pipe[2] = {-1, -1};

extern "C" void OnEndSignal(int signal_number)
{
    // Only async-signal-safe calls here; the window is closed by the event loop.
    const int saved_errno = errno;
    const char byte = static_cast<char>(signal_number);
    if (write(s_end_pipe[1], &byte, 1) < 0) {
        // The pipe is full: an earlier signal is already waiting to be handled.
    }
    // A second one while the window closes ends the program at once.
    std::signal(signal_number, SIG_DFL);
    errno = saved_errno;
}

// Installs the handlers; false (and the default behaviour) when the pipe cannot
// be made.
bool CatchEndSignals()
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, s_end_pipe) != 0) {
        std::cerr << "orfe: cannot watch the end signals: the settings are not saved when one comes"
                  << std::endl;
        return false;
    }
    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal_number : END_SIGNALS)
        sigaction(signal_number, &action, nullptr);
    return true;
}

// Ends the program as closing its window does (the window's destructor saves
// the settings when auto-save is on), when one of the signals has come.
void CloseOnEndSignal(QApplication* app, CustomInstrumentTunerForm* window)
{
    auto* notifier = new QSocketNotifier(s_end_pipe[0], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char bytes[16];
        while (read(s_end_pipe[0], bytes, sizeof bytes) > 0) {
        }
        window->close();
        // Other windows (the about box) may still be open, or a modal dialog's
        // own loop may be running: leave every loop.
        QCoreApplication::quit();
    });
}

void LoadTranslation(QTranslator* translator, const char* what, const QString& file, const QString& dir)
{
    std::cout << "INFO: Loading " << what << " translation file: " << file.toLocal8Bit().constData() << " in "
              << dir.toLocal8Bit().constData() << std::endl;
    // A missing catalogue simply leaves the interface in English.
    if (translator->load(file, dir, QString(), QString())) QCoreApplication::installTranslator(translator);
}

// Hidden hook for the screenshot script and the start-to-exit test: with
// ORFE_SCREENSHOT_DIR set, the program grabs its main window, each tab of the
// configuration dialog and the about box into that folder, then closes the main
// window through the normal path (close event, last window closed, quit).
void TakeScreenshots(CustomInstrumentTunerForm* window, const QString& dir)
{
    QDir().mkpath(dir);
    auto save = [&dir](QWidget* widget, const char* name) {
        QCoreApplication::processEvents();
        const QString path = dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
        if (!widget->grab().save(path))
            std::cerr << "orfe: cannot write the screenshot " << path.toLocal8Bit().constData() << std::endl;
    };
    save(window, "main-window");

    CustomConfigForm& config = window->m_config_form;
    config.show();
    const char* const tabs[] = {"config-general", "config-capture-system", "config-sound-analysis"};
    for (int i = 0; i < config.tabWidget->count() && i < 3; ++i) {
        config.tabWidget->setCurrentIndex(i);
        save(&config, tabs[i]);
    }
    config.tabWidget->setCurrentIndex(0);
    config.hide();

    AboutBox about(window);
    about.show();
    save(&about, "about");
    about.hide();

    window->close();
}

} // namespace

int main(int argc, char* argv[])
{
    std::cout << "Orfeon (Version " << orfe::Version().toLatin1().constData() << ")" << std::endl;

    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    // Lets Wayland compositors match the window with the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ORFE_APP_ID));

    auto* app = new QApplication(argc, argv);
    app->setQuitOnLastWindowClosed(true);
    const bool end_signals_caught = CatchEndSignals();
    Q_INIT_RESOURCE(orfe);

    QCoreApplication::setOrganizationName(QStringLiteral("ORFE"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("orfeon.github.io"));
    QCoreApplication::setApplicationName(QStringLiteral("ORFE"));
    QCoreApplication::setApplicationVersion(orfe::Version());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/orfe/ui/images/orfe.svg")));

    const QString locale = QLocale::system().name();
    auto* qt_translator = new QTranslator();
    LoadTranslation(qt_translator, "Qt", QStringLiteral("qt_") + locale,
                    QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    auto* orfe_translator = new QTranslator();
    LoadTranslation(orfe_translator, "ORFE", QStringLiteral("orfe_") + locale,
                    orfe::InstallPrefix() + QStringLiteral("/share/orfe/translations"));

    auto* window = new CustomInstrumentTunerForm();
    window->show();
    QObject::connect(app, SIGNAL(lastWindowClosed()), app, SLOT(quit()));
    if (end_signals_caught) CloseOnEndSignal(app, window);

    const QString screenshot_dir = QString::fromLocal8Bit(qgetenv("ORFE_SCREENSHOT_DIR"));
    if (!screenshot_dir.isEmpty())
        // Give the window a moment to be mapped and painted before grabbing it.
        QTimer::singleShot(300, window,
                           [window, screenshot_dir] { TakeScreenshots(window, screenshot_dir); });

    app->exec();

    delete window;
    delete orfe_translator;
    delete qt_translator;
    Q_CLEANUP_RESOURCE(orfe);
    delete app;
    return 0;
}
