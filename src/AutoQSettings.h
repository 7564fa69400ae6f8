#ifndef ORFE_AUTOQSETTINGS_H
#define ORFE_AUTOQSETTINGS_H

// The settings store: QSettings plus a registry of interface controls that are
// stored and restored under their object names, in the subgroup "Auto/" of the
// program's group. The persisted settings are simply the registered controls.
//
// Interface thread only: the controls it touches are widgets.

#include <QSettings>
#include <QString>
#include <list>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

class AutoQSettings : public QSettings
{
    // Non-owning: the controls belong to the windows, which outlive every use.
    std::list<QCheckBox*> m_checkboxes;
    std::list<QSpinBox*> m_spinboxes;
    std::list<QLineEdit*> m_lineedits;
    std::list<QComboBox*> m_comboboxes;
    std::list<QGroupBox*> m_groupboxes;
    std::list<QRadioButton*> m_radiobuttons;

    bool m_readable = true;

public:
    // User scope, native format, organisation and application as given; opens
    // the group application + version (for example "orfe009801") for good.
    AutoQSettings(const QString& organization, const QString& application, const QString& version);
    ~AutoQSettings() override;

    void add(QCheckBox* checkbox);
    void add(QSpinBox* spinbox);
    void add(QLineEdit* lineedit);
    void add(QComboBox* combobox);
    void add(QGroupBox* groupbox);
    void add(QRadioButton* radiobutton);

    // Every registered control, type by type in the order above, under "Auto/".
    void save();
    // Applies the stored values through the controls' setters, so their change
    // signals run whatever is connected. An absent key, or a stored value that
    // cannot be read as the control's type, leaves the control as it is.
    void load();
    // Removes the keys of the registered controls and nothing else.
    void clear();
    // Stores one button's checked state in the group currently open.
    void save(QAbstractButton* button);

    // False when the store existed but could not be read at construction: what
    // is on disk is then unknown, and writing to it could lose the user's data.
    bool readable() const { return m_readable; }

private:
    void warnIgnored(const QString& key, const QVariant& value, const char* expected) const;
};

#endif
