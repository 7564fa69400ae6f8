// The settings store on a mutated settings file: the file is opened as the
// program opens it, the registered controls of the configuration dialog and
// the main window are loaded from it, then saved back. Loading must leave every
// control in a valid state (spin boxes within range, a list entry selected),
// and a store that was read whole must read back what it saved. Any crash,
// sanitizer report, abort below or hang is a finding.
//
// The whole main window is not built per input: its construction starts the
// capture and plans the transforms, tens of milliseconds each time, and the
// settings reach it only through this store and these controls.

#include "AutoQSettings.h"
#include "ui_ConfigForm.h"
#include "ui_InstrumentTunerForm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

void Check(bool condition)
{
    if (!condition) std::abort();
}

QTemporaryDir* s_dir = nullptr;

QString StoreFile()
{
    return s_dir->path() + QStringLiteral("/orfe/orfe.conf");
}

// The dialog and the window layouts with every persisted control of theirs
// registered, as the main window does, plus a view's check action.
struct Forms
{
    QDialog dialog;
    Ui_ConfigForm config;
    QMainWindow window;
    Ui_InstrumentTunerForm tuner;
    QAction show_action{QStringLiteral("show"), nullptr};

    Forms()
    {
        config.setupUi(&dialog);
        tuner.setupUi(&window);
        show_action.setObjectName(QStringLiteral("show"));
        show_action.setCheckable(true);
    }

    template <class C> QList<C*> controls() const
    {
        QList<C*> all;
        for (const QObject* parent :
             {static_cast<const QObject*>(&dialog), static_cast<const QObject*>(&window)})
            for (C* c : parent->findChildren<C*>())
                if (c->objectName().startsWith(QLatin1String("ui_")) ||
                    c->objectName().startsWith(QLatin1String("up_")))
                    all << c;
        return all;
    }

    void registerWith(AutoQSettings& settings) const
    {
        for (auto* c : controls<QCheckBox>())
            settings.add(c);
        for (auto* c : controls<QSpinBox>())
            settings.add(c);
        for (auto* c : controls<QLineEdit>())
            settings.add(c);
        for (auto* c : controls<QComboBox>())
            settings.add(c);
        for (auto* c : controls<QGroupBox>())
            if (c->isCheckable()) settings.add(c);
        for (auto* c : controls<QRadioButton>())
            settings.add(c);
    }

    // Loads as the window does: the registered controls, then a view's group.
    void load(AutoQSettings& settings)
    {
        registerWith(settings);
        settings.load();
        settings.beginGroup(QStringLiteral("Dial"));
        AutoQSettings::loadControl(settings, &show_action);
        settings.endGroup();
    }

    void checkValid() const
    {
        for (const QSpinBox* s : controls<QSpinBox>())
            Check(s->value() >= s->minimum() && s->value() <= s->maximum());
        for (const QComboBox* c : controls<QComboBox>())
            Check(c->count() == 0 || (c->currentIndex() >= 0 && c->currentIndex() < c->count()));
    }

    // The state a save stores, one text per control.
    QStringList state() const
    {
        QStringList s;
        for (const QCheckBox* c : controls<QCheckBox>())
            s << QString::number(c->isChecked());
        for (const QSpinBox* c : controls<QSpinBox>())
            s << QString::number(c->value());
        for (const QLineEdit* c : controls<QLineEdit>())
            s << c->text();
        for (const QComboBox* c : controls<QComboBox>())
            s << QString::number(c->currentIndex());
        for (const QGroupBox* c : controls<QGroupBox>())
            s << QString::number(c->isChecked());
        for (const QRadioButton* c : controls<QRadioButton>())
            s << QString::number(c->isChecked());
        s << QString::number(show_action.isChecked());
        return s;
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The store's warnings about the values it ignores, once per input.
    std::cout.rdbuf(nullptr);
    new QApplication(*argc, *argv);
    s_dir = new QTemporaryDir();
    Check(s_dir->isValid());
    // libFuzzer ends the run with exit(): remove the folder then, or each run leaves one.
    std::atexit([] { delete s_dir; });
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, s_dir->path());
    // The first layout loads the fonts, whose library keeps caches for good:
    // load them here, not in the first input, where they would look leaked.
    Forms warm_up;
    warm_up.dialog.adjustSize();
    warm_up.window.adjustSize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QDir().mkpath(s_dir->path() + QStringLiteral("/orfe"));
    {
        QFile file(StoreFile());
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Check(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }

    QStringList saved;
    {
        Forms forms;
        AutoQSettings settings(QStringLiteral("orfe"), QStringLiteral("orfe"), QStringLiteral("009801"));
        forms.load(settings);
        forms.checkValid();
        // The window leaves a store it could not read whole as it is.
        if (!settings.readable()) return 0;
        settings.save();
        settings.beginGroup(QStringLiteral("Dial"));
        AutoQSettings::saveControl(settings, &forms.show_action);
        settings.endGroup();
        Check(settings.commit());
        saved = forms.state();
    }

    // What was saved reads back to the same state.
    Forms again;
    AutoQSettings settings(QStringLiteral("orfe"), QStringLiteral("orfe"), QStringLiteral("009801"));
    Check(settings.readable());
    again.load(settings);
    Check(again.state() == saved);
    return 0;
}
