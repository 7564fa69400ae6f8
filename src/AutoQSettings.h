#ifndef ORFE_AUTOQSETTINGS_H
#define ORFE_AUTOQSETTINGS_H

// The settings store: QSettings plus a registry of interface controls that are
// stored and restored under their object names, in the subgroup "Auto/" of the
// program's group. The persisted settings are simply the registered controls.
//
// How each type of control is stored, read back and checked is written once,
// in a table of control types; the views use the same table for their own
// settings (saveControl, loadControl).
//
// Interface thread only: the controls it touches are widgets.

#include <QSettings>
#include <QString>
#include <array>
#include <list>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QObject;
class QRadioButton;
class QSpinBox;

class AutoQSettings : public QSettings
{
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

    // Every registered control under "Auto/", type by type in the order above
    // (check boxes first: loading one enables the controls that depend on it),
    // in registration order within a type.
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
    // True when the store was read but some of its lines could not be: the
    // readable keys were loaded, the rest keep their factory values.
    bool damaged() const { return m_damaged; }

    // Writes what is pending to the store now. False when it could not be
    // written: a read-only file or folder, or something else in their place.
    bool commit();

    // One control in the group open on `settings`, under its object name: a
    // check box, spin box, line edit, combo box, group box, radio button, or a
    // checkable action (a view's boolean setting). Any other type is a
    // programming error.
    static void saveControl(QSettings& settings, const QObject* control);
    // Reads the control's key with its current state as the default and applies
    // it through the control's setter (a spin box clamps to its range). A stored
    // value that cannot be read as the control's type leaves the control as it
    // is and prints a warning.
    static void loadControl(QSettings& settings, QObject* control);

private:
    // Registered controls, one list per row of the table of control types.
    // Non-owning: the controls belong to the windows, which outlive every use.
    std::array<std::list<QObject*>, 7> m_controls;

    bool m_readable = true;
    bool m_damaged = false;

    void add(QObject* control);
};

#endif
