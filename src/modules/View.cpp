#include "View.h"

#include "AutoQSettings.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QSettings>
#include <QSpinBox>
#include <QWidgetAction>
#include <algorithm>
#include <cassert>

QSettings* View::s_settings = nullptr;
std::list<View*> View::s_views;

View::Title::Title(const QString& text, QWidget* parent) : QLabel(text, parent) {}

View::View(const QString& name, QWidget* parent) : m_name(name), m_parent(parent), m_popup_menu(parent)
{
    auto* caption = new QWidgetAction(&m_popup_menu);
    auto* title = new Title(QString("<b>%1</b>").arg(name), &m_popup_menu);
    title->setAlignment(Qt::AlignCenter);
    caption->setDefaultWidget(title);
    m_popup_menu.addAction(caption);
    m_popup_menu.addSeparator();

    m_show_action = new QAction(name, parent);
    m_show_action->setCheckable(true);
    m_show_action->setChecked(false);
    QObject::connect(m_show_action, SIGNAL(toggled(bool)), parent, SLOT(setVisible(bool)));
    m_show_action->setToolTip(QCoreApplication::translate("View", "%1").arg(name));

    parent->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    s_views.push_back(this);
}

View::~View()
{
    // The main window's views live as long as the process, but a view that does
    // go away must not leave a dangling entry for the next saveAll or loadAll.
    s_views.remove(this);
}

void View::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::RightButton) m_popup_menu.exec(e->screenPos().toPoint());
}

void View::saveAll()
{
    // clang-format off
    assert(s_settings!=NULL);
    // clang-format on
    for (View* view : s_views) {
        s_settings->beginGroup(view->m_name);
        s_settings->setValue("show", view->m_show_action->isChecked());
        view->save();
        s_settings->endGroup();
    }
}

void View::loadAll()
{
    // clang-format off
    assert(s_settings!=NULL);
    // clang-format on
    for (View* view : s_views) {
        s_settings->beginGroup(view->m_name);
        view->m_show_action->setChecked(s_settings->value("show", view->m_show_action->isChecked()).toBool());
        view->load();
        s_settings->endGroup();
    }
}

void View::clearAllSettings()
{
    // clang-format off
    assert(s_settings!=NULL);
    // clang-format on
    for (View* view : s_views) {
        s_settings->beginGroup(view->m_name);
        s_settings->remove("show");
        view->clearSettings();
        s_settings->endGroup();
    }
}

void View::save()
{
    for (const QObject* control : m_setting_controls)
        AutoQSettings::saveControl(*s_settings, control);
}

void View::load()
{
    for (QObject* control : m_setting_controls)
        AutoQSettings::loadControl(*s_settings, control);
}

void View::clearSettings()
{
    for (const QObject* control : m_setting_controls)
        s_settings->remove(control->objectName());
}

QAction* View::addCheckSetting(const QString& text, const char* key, bool checked, const char* slot,
                               Persistence persistence)
{
    auto* action = new QAction(text, m_parent);
    action->setObjectName(QString::fromLatin1(key));
    action->setCheckable(true);
    action->setChecked(checked);
    QObject::connect(action, SIGNAL(toggled(bool)), m_parent, slot);
    m_popup_menu.addAction(action);
    if (persistence == Stored) m_setting_controls.push_back(action);
    return action;
}

QSpinBox* View::addSpinSetting(const QString& caption, const char* key, int min, int max, int step, int value,
                               const QString& tooltip, const char* slot, Persistence persistence)
{
    auto* row = new QWidget(&m_popup_menu);
    auto* layout = new QHBoxLayout(row);
    layout->addWidget(new QLabel(caption, row));
    auto* spin = new QSpinBox(&m_popup_menu);
    spin->setObjectName(QString::fromLatin1(key));
    spin->setMinimum(min);
    spin->setMaximum(max);
    spin->setSingleStep(step);
    spin->setValue(value);
    spin->setToolTip(tooltip);
    layout->addWidget(spin);
    QObject::connect(spin, SIGNAL(valueChanged(int)), m_parent, slot);
    auto* action = new QWidgetAction(&m_popup_menu);
    action->setDefaultWidget(row);
    m_popup_menu.addAction(action);
    if (persistence == Stored) m_setting_controls.push_back(spin);
    // The program's settings store keeps it under "Auto/" by its object name;
    // a plain QSettings (a view on its own) does not.
    if (persistence == InSettingsStore)
        if (auto* store = dynamic_cast<AutoQSettings*>(s_settings)) store->add(spin);
    return spin;
}
