// Settings persistence of the main window: loading at start, saving on request
// and at exit, the restoration of factory settings.

#include "CustomInstrumentTunerForm.h"

#include "View.h"
#include <QAudioDeviceInfo>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>
#include <iostream>

namespace {

const char* const AUTO_GROUP = "Auto/";
const int DEFAULT_WIDTH = 800;
const int DEFAULT_HEIGHT = 600;

// A stored window dimension; anything but a positive whole number gives the
// default, so a damaged store cannot shrink the window to nothing.
int ReadDimension(const QSettings& settings, const QString& key, int fallback)
{
    const QVariant v = settings.value(key, fallback);
    bool ok = false;
    const int d = v.toString().trimmed().toInt(&ok);
    if (ok && d > 0) return d;
    std::cout << "AutoQSettings: WARNING: ignoring the stored value \""
              << v.toString().toLocal8Bit().constData() << "\" of " << key.toLocal8Bit().constData()
              << ", which is not a positive whole number; using " << fallback << std::endl;
    return fallback;
}

// The part of the screen a window may take (without panels and docks), or an
// empty rectangle when there is no screen.
QRect AvailableScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Writes the store now; a failure is said in the status bar and on standard
// output, since the user believes the settings are kept.
void CommitSettings(AutoQSettings& settings, QStatusBar* status_bar)
{
    if (settings.commit()) return;
    const QString message =
        CustomInstrumentTunerForm::tr("the settings could not be saved: %1 or its folder cannot be written")
            .arg(QDir::toNativeSeparators(settings.fileName()));
    std::cout << "AutoQSettings: ERROR: " << message.toLocal8Bit().constData() << std::endl;
    status_bar->showMessage(QStringLiteral("ERROR: ") + message);
}

} // namespace

void CustomInstrumentTunerForm::loadSettings()
{
    m_settings.load();
    View::loadAll();

    const QSize stored(ReadDimension(m_settings, QStringLiteral("width"), DEFAULT_WIDTH),
                       ReadDimension(m_settings, QStringLiteral("height"), DEFAULT_HEIGHT));
    const QRect screen = AvailableScreen();
    if (screen.isEmpty() || (stored.width() <= screen.width() && stored.height() <= screen.height())) {
        resize(stored);
    } else {
        // A size stored on a larger screen, or damaged: a window larger than the
        // screen cannot be seen whole, and a huge one can exhaust the memory.
        resize(stored.boundedTo(screen.size()));
        move(screen.topLeft());
    }
    if (m_settings.damaged())
        statusBar()->showMessage(tr("WARNING: some lines of the settings file cannot be read; it is not "
                                    "written at exit: Ctrl+S saves the current settings over it"));

    const QString transport = m_settings.value(QStringLiteral("ui_cbTransports"), QString()).toString();
    if (!transport.isEmpty())
        for (int i = 0; i < m_config_form.ui_cbTransports->count(); ++i)
            if (m_config_form.ui_cbTransports->itemText(i) == transport)
                m_config_form.ui_cbTransports->setCurrentIndex(i);

    fillAudioInputDevices(
        m_settings.value(QStringLiteral("ui_cbQtDeviceName"), QStringLiteral("default")).toString());
}

void CustomInstrumentTunerForm::saveSettings()
{
    m_settings.save();
    View::saveAll();
    m_settings.setValue(QStringLiteral("width"), width());
    m_settings.setValue(QStringLiteral("height"), height());
    m_settings.setValue(QStringLiteral("ui_cbTransports"), m_config_form.ui_cbTransports->currentText());
    m_settings.setValue(QStringLiteral("ui_cbQtDeviceName"), m_config_form.ui_cbQtDeviceName->currentText());
    CommitSettings(m_settings, statusBar());
}

void CustomInstrumentTunerForm::saveSettingsOnExit()
{
    if (!m_settings.readable()) {
        // We could not see what the store holds; writing now could replace it.
        std::cout << "AutoQSettings: WARNING: the settings file "
                  << QDir::toNativeSeparators(m_settings.fileName()).toLocal8Bit().constData()
                  << " could not be read entirely at start; to keep it as it is, the "
                  << (m_config_form.ui_chkAutoSaveOnExit->isChecked() ? "current settings are"
                                                                      : "auto-save choice is")
                  << " not saved to it" << std::endl;
        return;
    }
    if (m_config_form.ui_chkAutoSaveOnExit->isChecked()) {
        saveSettings();
    } else {
        // Keep only the choice not to save; every other stored value stays as it was.
        m_settings.beginGroup(AUTO_GROUP);
        m_settings.save(m_config_form.ui_chkAutoSaveOnExit);
        m_settings.endGroup();
        CommitSettings(m_settings, statusBar());
    }
}

void CustomInstrumentTunerForm::restoreFactorySettings()
{
    if (QMessageBox::question(this, tr("Restore Factory Settings"),
                              tr("This operation is NOT reversible.\nAre you sure you want to lose all your "
                                 "current settings ?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;

    m_settings.clear();
    View::clearAllSettings();
    m_settings.remove(QStringLiteral("width"));
    m_settings.remove(QStringLiteral("height"));
    m_settings.remove(QStringLiteral("ui_cbTransports"));
    m_settings.remove(QStringLiteral("ui_cbQtDeviceName"));

    QMessageBox::information(this, tr("Restore Factory Settings"),
                             tr("You can now restart ORFE to get back factory settings"), QMessageBox::Ok);
}
