#include "AutoQSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <cassert>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

const char* const AUTO_GROUP = "Auto/";

// A stored state of a check box, group box, radio button or check action. The
// INI store gives back "true"/"false" strings; anything else that is not
// clearly a truth value is refused rather than read as "true" (QVariant's rule
// for any other text).
bool ReadBool(const QVariant& value, bool* ok)
{
    *ok = true;
    if (value.type() == QVariant::Bool) return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1")) return true;
    if (text == QLatin1String("false") || text == QLatin1String("0")) return false;
    *ok = false;
    return false;
}

// A stored number; text that is not a whole number is refused rather than read
// as 0 (which a spin box would then clamp to its minimum).
int ReadInt(const QVariant& value, bool* ok)
{
    if (value.type() == QVariant::Bool || value.type() == QVariant::StringList) {
        *ok = false;
        return 0;
    }
    return value.toString().trimmed().toInt(ok);
}

// A stored text. An unquoted comma in a hand-edited INI file makes Qt read a
// list; join it back into the text that was written.
QString ReadString(const QVariant& value, bool* ok)
{
    *ok = true;
    if (value.type() == QVariant::StringList) return value.toStringList().join(QStringLiteral(", "));
    if (value.canConvert<QString>()) return value.toString();
    *ok = false;
    return QString();
}

template <class C> QVariant CheckedState(const QObject* control)
{
    return static_cast<const C*>(control)->isChecked();
}

template <class C> bool ApplyChecked(QObject* control, const QVariant& stored)
{
    bool ok = false;
    const bool checked = ReadBool(stored, &ok);
    if (ok) static_cast<C*>(control)->setChecked(checked);
    return ok;
}

QVariant SpinValue(const QObject* control)
{
    return static_cast<const QSpinBox*>(control)->value();
}

bool ApplySpinValue(QObject* control, const QVariant& stored)
{
    bool ok = false;
    const int value = ReadInt(stored, &ok);
    if (ok) static_cast<QSpinBox*>(control)->setValue(value); // out of range: clamped by the spin box
    return ok;
}

QVariant EditText(const QObject* control)
{
    return static_cast<const QLineEdit*>(control)->text();
}

bool ApplyEditText(QObject* control, const QVariant& stored)
{
    bool ok = false;
    const QString text = ReadString(stored, &ok);
    if (ok) static_cast<QLineEdit*>(control)->setText(text);
    return ok;
}

QVariant ComboIndex(const QObject* control)
{
    return static_cast<const QComboBox*>(control)->currentIndex();
}

bool ApplyComboIndex(QObject* control, const QVariant& stored)
{
    auto* combo = static_cast<QComboBox*>(control);
    bool ok = false;
    const int index = ReadInt(stored, &ok);
    // An index past the list would leave the combo box with no entry selected.
    if (!ok || index < 0 || index >= combo->count()) return false;
    combo->setCurrentIndex(index);
    return true;
}

// How one type of control is stored.
struct ControlType
{
    const QMetaObject* type;                  // the control's class (or a base of it)
    const char* expected;                     // what a stored value must be, for the warning
    QVariant (*value)(const QObject*);        // the value to store
    bool (*apply)(QObject*, const QVariant&); // false: refused, the control is unchanged
};

// The types of control the settings know, in the order the store saves and
// loads its registered controls. The last row, the views' check actions, is
// never registered with a store: the views save those themselves.
const ControlType CONTROL_TYPES[] = {
    {&QCheckBox::staticMetaObject, "true or false", CheckedState<QCheckBox>, ApplyChecked<QCheckBox>},
    {&QSpinBox::staticMetaObject, "a whole number", SpinValue, ApplySpinValue},
    {&QLineEdit::staticMetaObject, "a text", EditText, ApplyEditText},
    {&QComboBox::staticMetaObject, "an entry number of the list", ComboIndex, ApplyComboIndex},
    {&QGroupBox::staticMetaObject, "true or false", CheckedState<QGroupBox>, ApplyChecked<QGroupBox>},
    {&QRadioButton::staticMetaObject, "true or false", CheckedState<QRadioButton>,
     ApplyChecked<QRadioButton>},
    {&QAction::staticMetaObject, "true or false", CheckedState<QAction>, ApplyChecked<QAction>},
};
constexpr std::size_t TYPE_COUNT = sizeof CONTROL_TYPES / sizeof CONTROL_TYPES[0];

// Row of the control's type in CONTROL_TYPES.
std::size_t TypeIndex(const QObject* control)
{
    for (std::size_t i = 0; i < TYPE_COUNT; ++i)
        if (control->metaObject()->inherits(CONTROL_TYPES[i].type)) return i;
    assert(!"a control type the settings cannot store");
    std::abort();
}

void WarnIgnored(const QSettings& settings, const QString& key, const QVariant& value, const char* expected)
{
    const QString shown = value.type() == QVariant::StringList
                              ? value.toStringList().join(QStringLiteral(", "))
                              : value.toString();
    std::cout << "AutoQSettings: WARNING: ignoring the stored value \"" << shown.toLocal8Bit().constData()
              << "\" of " << settings.group().toLocal8Bit().constData() << '/'
              << key.toLocal8Bit().constData() << ", which is not " << expected
              << "; the current value is kept" << std::endl;
}

void SaveAs(QSettings& settings, const QObject* control, const ControlType& type)
{
    settings.setValue(control->objectName(), type.value(control));
}

void LoadAs(QSettings& settings, QObject* control, const ControlType& type)
{
    const QString key = control->objectName();
    const QVariant stored = settings.value(key, type.value(control));
    if (!type.apply(control, stored)) WarnIgnored(settings, key, stored, type.expected);
}

} // namespace

AutoQSettings::AutoQSettings(const QString& organization, const QString& application, const QString& version)
    : QSettings(QSettings::NativeFormat, QSettings::UserScope, organization, application)
{
    static_assert(std::tuple_size<decltype(m_controls)>::value == TYPE_COUNT, "one list per control type");
    const QFileInfo file(fileName());
    const std::string name = fileName().toLocal8Bit().constData();
    if (status() == QSettings::FormatError && file.isFile() && file.isReadable()) {
        // Qt has kept every line it could read; say so, and what the exit does.
        m_readable = false;
        m_damaged = true;
        std::cout << "AutoQSettings: WARNING: some lines of the settings file " << name
                  << " cannot be read; the settings on its readable lines are loaded, the others keep their "
                     "factory values. To keep the file as it is, nothing is written to it at exit, even with "
                     "auto-save on; saving (Ctrl+S) replaces it with the current settings"
                  << std::endl;
    } else if (status() != QSettings::NoError || (file.exists() && (!file.isFile() || !file.isReadable()))) {
        m_readable = false;
        std::cout << "AutoQSettings: WARNING: cannot read the settings file " << name
                  << "; factory settings are used and nothing is written to it at exit, even with auto-save "
                     "on; saving (Ctrl+S) tries to replace it with the current settings"
                  << std::endl;
    }
    beginGroup(QLatin1Char('/') + application + version + QLatin1Char('/'));
}

AutoQSettings::~AutoQSettings()
{
    for (auto& controls : m_controls)
        controls.clear();
}

void AutoQSettings::add(QCheckBox* checkbox)
{
    add(static_cast<QObject*>(checkbox));
}

void AutoQSettings::add(QSpinBox* spinbox)
{
    add(static_cast<QObject*>(spinbox));
}

void AutoQSettings::add(QLineEdit* lineedit)
{
    add(static_cast<QObject*>(lineedit));
}

void AutoQSettings::add(QComboBox* combobox)
{
    add(static_cast<QObject*>(combobox));
}

void AutoQSettings::add(QGroupBox* groupbox)
{
    add(static_cast<QObject*>(groupbox));
}

void AutoQSettings::add(QRadioButton* radiobutton)
{
    add(static_cast<QObject*>(radiobutton));
}

void AutoQSettings::add(QObject* control)
{
    assert(control->objectName() != QString(""));
    m_controls[TypeIndex(control)].push_back(control);
}

void AutoQSettings::save()
{
    beginGroup(AUTO_GROUP);
    for (std::size_t t = 0; t < TYPE_COUNT; ++t)
        for (const QObject* control : m_controls[t])
            SaveAs(*this, control, CONTROL_TYPES[t]);
    endGroup();
}

void AutoQSettings::load()
{
    beginGroup(AUTO_GROUP);
    for (std::size_t t = 0; t < TYPE_COUNT; ++t)
        for (QObject* control : m_controls[t])
            LoadAs(*this, control, CONTROL_TYPES[t]);
    endGroup();
}

void AutoQSettings::clear()
{
    beginGroup(AUTO_GROUP);
    for (const auto& controls : m_controls)
        for (const QObject* control : controls)
            remove(control->objectName());
    endGroup();
}

bool AutoQSettings::commit()
{
    sync();
    if (status() == QSettings::AccessError) return false;
    // After a format error at start Qt keeps reporting that error and no later
    // one, so look at what a write needs: a regular file that can be written,
    // in a folder that can be written (Qt writes a new file and renames it).
    const QFileInfo file(fileName());
    const QFileInfo folder(file.absolutePath());
    return file.isFile() && file.isWritable() && folder.isDir() && folder.isWritable();
}

void AutoQSettings::save(QAbstractButton* button)
{
    setValue(button->objectName(), button->isChecked());
}

void AutoQSettings::saveControl(QSettings& settings, const QObject* control)
{
    SaveAs(settings, control, CONTROL_TYPES[TypeIndex(control)]);
}

void AutoQSettings::loadControl(QSettings& settings, QObject* control)
{
    LoadAs(settings, control, CONTROL_TYPES[TypeIndex(control)]);
}
