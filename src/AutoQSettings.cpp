#include "AutoQSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <cassert>
#include <iostream>

namespace {

const char* const AUTO_GROUP = "Auto/";

// A stored state of a check box, group box or radio button. The INI store gives
// back "true"/"false" strings; anything else that is not clearly a truth value
// is refused rather than read as "true" (QVariant's rule for any other text).
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

} // namespace

AutoQSettings::AutoQSettings(const QString& organization, const QString& application, const QString& version)
    : QSettings(QSettings::NativeFormat, QSettings::UserScope, organization, application)
{
    const QFileInfo file(fileName());
    if (status() != QSettings::NoError || (file.exists() && (!file.isFile() || !file.isReadable()))) {
        m_readable = false;
        std::cout << "AutoQSettings: WARNING: cannot read the settings file "
                  << fileName().toLocal8Bit().constData()
                  << "; factory settings are used and nothing is written to it unless you save" << std::endl;
    }
    beginGroup(QLatin1Char('/') + application + version + QLatin1Char('/'));
}

AutoQSettings::~AutoQSettings()
{
    m_checkboxes.clear();
    m_spinboxes.clear();
    m_lineedits.clear();
    m_comboboxes.clear();
    m_groupboxes.clear();
    m_radiobuttons.clear();
}

void AutoQSettings::add(QCheckBox* checkbox)
{
    assert(checkbox->objectName() != QString(""));
    m_checkboxes.push_back(checkbox);
}

void AutoQSettings::add(QSpinBox* spinbox)
{
    assert(spinbox->objectName() != QString(""));
    m_spinboxes.push_back(spinbox);
}

void AutoQSettings::add(QLineEdit* lineedit)
{
    assert(lineedit->objectName() != QString(""));
    m_lineedits.push_back(lineedit);
}

void AutoQSettings::add(QComboBox* combobox)
{
    assert(combobox->objectName() != QString(""));
    m_comboboxes.push_back(combobox);
}

void AutoQSettings::add(QGroupBox* groupbox)
{
    assert(groupbox->objectName() != QString(""));
    m_groupboxes.push_back(groupbox);
}

void AutoQSettings::add(QRadioButton* radiobutton)
{
    assert(radiobutton->objectName() != QString(""));
    m_radiobuttons.push_back(radiobutton);
}

void AutoQSettings::save()
{
    beginGroup(AUTO_GROUP);
    for (QCheckBox* w : m_checkboxes)
        setValue(w->objectName(), w->isChecked());
    for (QSpinBox* w : m_spinboxes)
        setValue(w->objectName(), w->value());
    for (QLineEdit* w : m_lineedits)
        setValue(w->objectName(), w->text());
    for (QComboBox* w : m_comboboxes)
        setValue(w->objectName(), w->currentIndex());
    for (QGroupBox* w : m_groupboxes)
        setValue(w->objectName(), w->isChecked());
    for (QRadioButton* w : m_radiobuttons)
        setValue(w->objectName(), w->isChecked());
    endGroup();
}

void AutoQSettings::load()
{
    beginGroup(AUTO_GROUP);
    bool ok = false;
    for (QCheckBox* w : m_checkboxes) {
        const QVariant v = value(w->objectName(), w->isChecked());
        const bool b = ReadBool(v, &ok);
        if (ok)
            w->setChecked(b);
        else
            warnIgnored(w->objectName(), v, "true or false");
    }
    for (QSpinBox* w : m_spinboxes) {
        const QVariant v = value(w->objectName(), w->value());
        const int i = ReadInt(v, &ok);
        if (ok)
            w->setValue(i); // out-of-range values are clamped by the spin box
        else
            warnIgnored(w->objectName(), v, "a whole number");
    }
    for (QLineEdit* w : m_lineedits) {
        const QVariant v = value(w->objectName(), w->text());
        const QString s = ReadString(v, &ok);
        if (ok)
            w->setText(s);
        else
            warnIgnored(w->objectName(), v, "a text");
    }
    for (QComboBox* w : m_comboboxes) {
        const QVariant v = value(w->objectName(), w->currentIndex());
        const int i = ReadInt(v, &ok);
        // An index past the list would leave the combo box with no entry selected.
        if (ok && i >= 0 && i < w->count())
            w->setCurrentIndex(i);
        else
            warnIgnored(w->objectName(), v, "an entry number of the list");
    }
    for (QGroupBox* w : m_groupboxes) {
        const QVariant v = value(w->objectName(), w->isChecked());
        const bool b = ReadBool(v, &ok);
        if (ok)
            w->setChecked(b);
        else
            warnIgnored(w->objectName(), v, "true or false");
    }
    for (QRadioButton* w : m_radiobuttons) {
        const QVariant v = value(w->objectName(), w->isChecked());
        const bool b = ReadBool(v, &ok);
        if (ok)
            w->setChecked(b);
        else
            warnIgnored(w->objectName(), v, "true or false");
    }
    endGroup();
}

void AutoQSettings::clear()
{
    beginGroup(AUTO_GROUP);
    for (QCheckBox* w : m_checkboxes)
        remove(w->objectName());
    for (QSpinBox* w : m_spinboxes)
        remove(w->objectName());
    for (QLineEdit* w : m_lineedits)
        remove(w->objectName());
    for (QComboBox* w : m_comboboxes)
        remove(w->objectName());
    for (QGroupBox* w : m_groupboxes)
        remove(w->objectName());
    for (QRadioButton* w : m_radiobuttons)
        remove(w->objectName());
    endGroup();
}

void AutoQSettings::save(QAbstractButton* button)
{
    setValue(button->objectName(), button->isChecked());
}

void AutoQSettings::warnIgnored(const QString& key, const QVariant& value, const char* expected) const
{
    const QString shown = value.type() == QVariant::StringList
                              ? value.toStringList().join(QStringLiteral(", "))
                              : value.toString();
    std::cout << "AutoQSettings: WARNING: ignoring the stored value \"" << shown.toLocal8Bit().constData()
              << "\" of " << group().toLocal8Bit().constData() << '/' << key.toLocal8Bit().constData()
              << ", which is not " << expected << "; the current value is kept" << std::endl;
}
