#ifndef ORFE_VIEW_H
#define ORFE_VIEW_H

// Common base of every display panel: a display name, a right-click settings
// menu captioned with that name, a checkable action that shows and hides the
// panel, and a registry through which all panels store, restore and clear
// their settings in one call each.
//
// View is not a QObject. It is always the second base of a panel class whose
// first base is the widget the panel is drawn on; the widget hands itself to
// the constructor. Everything here runs in the interface thread.

#include <QLabel>
#include <QMenu>
#include <QString>
#include <list>
#include <vector>

class QAction;
class QMouseEvent;
class QObject;
class QSettings;
class QSpinBox;
class QWidget;

class View
{
public:
    // Caption row of a settings menu (and centred explanatory lines).
    class Title : public QLabel
    {
    public:
        Title(const QString& text, QWidget* parent);
    };

    // The settings store shared by every view; set once by the main window
    // before any view is created. Not owned.
    static QSettings* s_settings;
    // Every view, in construction order.
    static std::list<View*> s_views;

    // Each view in s_views gets its own group named after m_name, holding "show"
    // and the view's own keys. The settings object must be at its root group.
    static void saveAll();
    static void loadAll();
    static void clearAllSettings();

    View(const QString& name, QWidget* parent);
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // Same name and signature as the QWidget handler: a view class declaring it
    // overrides both and forwards here. The right button opens the menu.
    virtual void mouseReleaseEvent(QMouseEvent* e);
    virtual ~View();
    // Write, read and remove the view's own keys in the current group. By
    // default: every control of m_setting_controls, in order, under its object
    // name; a check action stores its checked state (bool), a spin box its
    // value (int). Loading applies the stored value through the control's
    // setter (so its change signal runs the connected slot), with the current
    // state as the default for a missing key; a stored value that is not a
    // valid bool or int keeps the current state (AutoQSettings::loadControl).
    // A view that stores more keys overrides these, calling the View version.
    virtual void save();
    virtual void load();
    virtual void clearSettings();

    // Where a setting made by a builder is kept: in the view's group
    // (m_setting_controls), nowhere (a control kept in step with another view's,
    // which stores it), or (spin boxes) by the program's settings store.
    enum Persistence { Stored, NotStored, InSettingsStore };

    // Builders for the entries a view appends to its menu after the caption.
    // A boolean setting: a checkable action (Qt parent: the view's widget) named
    // `key`, in its factory state, whose toggled(bool) runs `slot` of the widget.
    QAction* addCheckSetting(const QString& text, const char* key, bool checked, const char* slot,
                             Persistence persistence = Stored);
    // A numeric setting: a row with a caption and a spin box (Qt parent: the menu)
    // named `key`, whose valueChanged(int) runs `slot` of the widget.
    QSpinBox* addSpinSetting(const QString& caption, const char* key, int min, int max, int step, int value,
                             const QString& tooltip, const char* slot, Persistence persistence = Stored);

    QString m_name;
    QWidget* m_parent;
    QMenu m_popup_menu;
    QAction* m_show_action;
    // The settings the default save, load and clearSettings keep: the controls
    // made by the builders (unless NotStored), in the order they were made.
    std::vector<QObject*> m_setting_controls;
};

#endif
