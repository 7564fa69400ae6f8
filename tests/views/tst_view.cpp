// The view framework: settings menu, show action, and saving, loading and
// clearing the settings of every view through one shared settings object.

#include "DialView.h"
#include "GLErrorHistory.h"
#include "GLVolumeHistory.h"
#include "View.h"
#include "ViewTestUtil.h"

#include <QAction>
#include <QProcess>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QWidgetAction>
#include <QtTest>
#include <memory>

// A minimal view with one check action and one spin box, logging each call of
// its persistence hooks as "<operation> <name>".
static QStringList s_log;

class RecordingView : public QWidget, public View
{
public:
    explicit RecordingView(const QString& name, QWidget* parent = nullptr) : QWidget(parent), View(name, this)
    {
        flag = new QAction("Flag", this);
        flag->setCheckable(true);
        m_popup_menu.addAction(flag);
        number = new QSpinBox(&m_popup_menu);
        number->setRange(0, 100);
        number->setValue(7);
    }
    void save() override
    {
        s_log << "save " + m_name;
        s_settings->setValue("flag", flag->isChecked());
        s_settings->setValue("number", number->value());
    }
    void load() override
    {
        s_log << "load " + m_name;
        flag->setChecked(s_settings->value("flag", flag->isChecked()).toBool());
        number->setValue(s_settings->value("number", number->value()).toInt());
    }
    void clearSettings() override
    {
        s_log << "clear " + m_name;
        s_settings->remove("flag");
        s_settings->remove("number");
    }
    void mouseReleaseEvent(QMouseEvent* e) override { View::mouseReleaseEvent(e); }

    QAction* flag;
    QSpinBox* number;
};

// A view whose settings are made by the builders: "flag" and "number" are
// stored by default, "hidden" is made NotStored. With `extra`, it also keeps a
// key of its own, "extra", through overrides that call the View versions.
class BuilderView : public QWidget, public View
{
public:
    BuilderView(const QString& name, QWidget* parent, bool extra)
        : QWidget(parent), View(name, this), m_extra(extra)
    {
        flag = addCheckSetting("Flag", "flag", true, SLOT(update()));
        hidden = addCheckSetting("Hidden", "hidden", false, SLOT(update()), NotStored);
        number = addSpinSetting("Number", "number", 1, 20, 1, 10, "tip", SLOT(update()));
    }
    void save() override
    {
        View::save();
        if (m_extra) s_settings->setValue("extra", extraValue);
    }
    void load() override
    {
        View::load();
        if (m_extra) extraValue = s_settings->value("extra", extraValue).toString();
    }
    void clearSettings() override
    {
        View::clearSettings();
        if (m_extra) s_settings->remove("extra");
    }
    void mouseReleaseEvent(QMouseEvent* e) override { View::mouseReleaseEvent(e); }

    bool m_extra;
    QAction* flag;
    QAction* hidden;
    QSpinBox* number;
    QString extraValue = "factory";
};

class TestView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void construction();
    void rightReleaseOpensMenu_data();
    void rightReleaseOpensMenu();
    void otherButtonsOpenNothing_data();
    void otherButtonsOpenNothing();
    void showActionHidesAndShows();
    void loadWithoutStoredSettingsKeepsFactoryState();
    void saveWritesEveryViewInItsGroup();
    void loadAppliesStoredValues();
    void clearRemovesStoredKeysOnly();
    void operationsVisitInConstructionOrder();
    void builderSettingsPersistByDefault();
    void destroyedViewLeavesRegistry();
    void missingSettingsObjectStops_data();
    void missingSettingsObjectStops();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_settings;
    QString m_file;
};

void TestView::init()
{
    QVERIFY(m_dir.isValid());
    static int n = 0;
    m_file = m_dir.filePath(QString("settings%1.ini").arg(++n));
    m_settings.reset(new QSettings(m_file, QSettings::IniFormat));
    View::s_settings = m_settings.get();
    s_log.clear();
}

void TestView::cleanup()
{
    View::s_settings = nullptr;
    m_settings.reset();
    // Every test deletes its views, so the registry is empty again.
    QVERIFY(View::s_views.empty());
}

void TestView::construction()
{
    QWidget window;
    RecordingView view("Sample", &window);
    QCOMPARE(view.m_name, QString("Sample"));
    QCOMPARE(view.m_parent, static_cast<QWidget*>(&view));
    QCOMPARE(view.m_popup_menu.parent(), static_cast<QObject*>(&view));
    QCOMPARE(view.m_show_action->parent(), static_cast<QObject*>(&view));
    QCOMPARE(view.m_show_action->text(), QString("Sample"));
    QCOMPARE(view.m_show_action->toolTip(), QString("Sample"));
    QVERIFY(view.m_show_action->isCheckable());
    QVERIFY(!view.m_show_action->isChecked());
    QCOMPARE(view.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(view.sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(View::s_views.size(), std::size_t(1));
    QCOMPARE(View::s_views.front(), static_cast<View*>(&view));

    // Caption, separator, then the view's own entries.
    const QList<QAction*> actions = view.m_popup_menu.actions();
    QCOMPARE(actions.size(), 3);
    auto* caption = qobject_cast<QWidgetAction*>(actions[0]);
    QVERIFY(caption);
    auto* title = dynamic_cast<View::Title*>(caption->defaultWidget());
    QVERIFY(title);
    QCOMPARE(title->text(), QString("<b>Sample</b>"));
    QCOMPARE(title->alignment(), Qt::AlignCenter);
    QCOMPARE(title->parent(), static_cast<QObject*>(&view.m_popup_menu));
    QVERIFY(actions[1]->isSeparator());
    QCOMPARE(actions[2], view.flag);
}

void TestView::rightReleaseOpensMenu_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("dial") << 0 << QStringList{"Show tolerance", "Show trace", "Use cents", "row"};
    QTest::newRow("error history") << 1 << QStringList{"Keep previous notes", "Use cents", "row"};
    QTest::newRow("volume history") << 2 << QStringList{"Keep previous notes"};
}

void TestView::rightReleaseOpensMenu()
{
    QFETCH(int, kind);
    QFETCH(QStringList, entries);
    std::unique_ptr<QWidget> widget;
    View* view = nullptr;
    if (kind == 0) {
        auto* v = new DialView;
        widget.reset(v);
        view = v;
    } else if (kind == 1) {
        auto* v = new GLErrorHistory;
        widget.reset(v);
        view = v;
    } else {
        auto* v = new GLVolumeHistory;
        widget.reset(v);
        view = v;
    }
    widget->resize(200, 150);
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));

    bool opened = false;
    QString caption;
    bool separator = false;
    QStringList seen;
    QPoint menuPos;
    viewtest::inspectNextPopup(
        [&](QMenu* menu) {
            menuPos = menu->pos();
            QList<QAction*> actions = menu->actions();
            if (actions.size() < 2) return;
            if (auto* wa = qobject_cast<QWidgetAction*>(actions[0]))
                if (auto* t = dynamic_cast<View::Title*>(wa->defaultWidget())) caption = t->text();
            separator = actions[1]->isSeparator();
            for (int i = 2; i < actions.size(); ++i)
                seen << (qobject_cast<QWidgetAction*>(actions[i]) ? QString("row") : actions[i]->text());
        },
        &opened);
    const QPoint local(40, 30);
    QTest::mouseRelease(widget.get(), Qt::RightButton, Qt::NoModifier, local);
    QVERIFY(opened);
    QCOMPARE(caption, "<b>" + view->m_name + "</b>");
    QVERIFY(separator);
    QCOMPARE(seen, entries);
    // exec() puts the menu's top-left corner at the cursor (the screen is large
    // enough that it need not be moved to fit).
    QCOMPARE(menuPos, widget->mapToGlobal(local));
}

void TestView::otherButtonsOpenNothing_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("left") << int(Qt::LeftButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

void TestView::otherButtonsOpenNothing()
{
    QFETCH(int, button);
    DialView dial;
    dial.resize(200, 150);
    dial.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dial));
    bool opened = true;
    viewtest::inspectNextPopup([](QMenu*) {}, &opened);
    // A modal menu would block here until the timer closed it; none opens, so
    // the call returns at once and no popup is active.
    QTest::mouseRelease(&dial, Qt::MouseButton(button), Qt::NoModifier, QPoint(40, 30));
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    QTest::qWait(400);
    QVERIFY(!opened);
}

void TestView::showActionHidesAndShows()
{
    QWidget window;
    auto* view = new RecordingView("Sample", &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    view->m_show_action->setChecked(true);
    QVERIFY(view->isVisible());
    view->m_show_action->setChecked(false);
    QVERIFY(!view->isVisible());
    view->m_show_action->setChecked(true);
    QVERIFY(view->isVisible());
    delete view;
}

void TestView::loadWithoutStoredSettingsKeepsFactoryState()
{
    QWidget window;
    DialView dial(&window);
    GLErrorHistory errors(&window);
    GLVolumeHistory volumes(&window);
    window.show();
    View::loadAll();
    QVERIFY(!dial.m_show_action->isChecked());
    QVERIFY(dial.isVisible());
    QVERIFY(dial.showTolerance->isChecked());
    QVERIFY(dial.showTrace->isChecked());
    QVERIFY(dial.useCents->isChecked());
    QCOMPARE(dial.spinScale->value(), 50);
    QVERIFY(errors.m_show_action->isChecked());
    QVERIFY(errors.isVisible());
    QVERIFY(!errors.keep->isChecked());
    QVERIFY(errors.useCents->isChecked());
    QCOMPARE(errors.spinScale->value(), 50);
    QVERIFY(!volumes.m_show_action->isChecked());
    QVERIFY(!volumes.isVisible());
    QVERIFY(!volumes.keep->isChecked());
    QCOMPARE(volumes.m_treshold, -100);
}

void TestView::saveWritesEveryViewInItsGroup()
{
    QWidget window;
    DialView dial(&window);
    GLErrorHistory errors(&window);
    GLVolumeHistory volumes(&window);
    dial.showTrace->setChecked(false);
    dial.spinScale->setValue(80);
    errors.useCents->setChecked(false);
    errors.spinScale->setValue(20);
    volumes.keep->setChecked(true);
    volumes.m_show_action->setChecked(true);
    View::saveAll();
    m_settings->sync();

    QSettings file(m_file, QSettings::IniFormat);
    QStringList keys = file.allKeys();
    keys.sort();
    QStringList expected{"Dial/show",           "Dial/showTolerance",      "Dial/showTrace",
                         "Dial/spinScale",      "Dial/useCents",           "Error history/keep",
                         "Error history/show",  "Error history/spinScale", "Error history/useCents",
                         "Volume history/keep", "Volume history/show"};
    expected.sort();
    QCOMPARE(keys, expected);
    QCOMPARE(file.value("Dial/show").toBool(), false);
    QCOMPARE(file.value("Dial/showTolerance").toBool(), true);
    QCOMPARE(file.value("Dial/showTrace").toBool(), false);
    QCOMPARE(file.value("Dial/useCents").toBool(), true);
    QCOMPARE(file.value("Dial/spinScale").toInt(), 80);
    QCOMPARE(file.value("Error history/show").toBool(), true);
    QCOMPARE(file.value("Error history/keep").toBool(), false);
    QCOMPARE(file.value("Error history/useCents").toBool(), false);
    QCOMPARE(file.value("Error history/spinScale").toInt(), 20);
    QCOMPARE(file.value("Volume history/show").toBool(), true);
    QCOMPARE(file.value("Volume history/keep").toBool(), true);
    // The settings object is back at its root group.
    QCOMPARE(m_settings->group(), QString());
}

void TestView::loadAppliesStoredValues()
{
    {
        QSettings file(m_file, QSettings::IniFormat);
        file.setValue("Dial/showTolerance", false);
        file.setValue("Dial/spinScale", 30);
        file.setValue("Error history/show", false);
        file.setValue("Error history/useCents", false);
        file.setValue("Volume history/show", true);
        file.setValue("Volume history/keep", true);
    }
    m_settings->sync();

    QWidget window;
    DialView dial(&window);
    GLErrorHistory errors(&window);
    GLVolumeHistory volumes(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(errors.isVisible());
    QVERIFY(!volumes.isVisible());
    QSignalSpy scaleSpy(dial.spinScale, SIGNAL(valueChanged(int)));
    View::loadAll();
    QVERIFY(!dial.showTolerance->isChecked());
    QVERIFY(dial.showTrace->isChecked()); // absent: unchanged
    QCOMPARE(dial.spinScale->value(), 30);
    QCOMPARE(scaleSpy.count(), 1); // applying runs the connected slots
    QVERIFY(!errors.m_show_action->isChecked());
    QVERIFY(!errors.isVisible());
    QVERIFY(!errors.useCents->isChecked());
    QCOMPARE(errors.spinScale->value(), 50);
    QVERIFY(volumes.m_show_action->isChecked());
    QVERIFY(volumes.isVisible());
    QVERIFY(volumes.keep->isChecked());
    QCOMPARE(m_settings->group(), QString());
}

void TestView::clearRemovesStoredKeysOnly()
{
    QWidget window;
    DialView dial(&window);
    GLErrorHistory errors(&window);
    GLVolumeHistory volumes(&window);
    RecordingView other("Other", &window);
    dial.useCents->setChecked(false);
    volumes.keep->setChecked(true);
    other.number->setValue(42);
    View::saveAll();
    m_settings->setValue("Top", 5); // a key of the main window, not a view's
    m_settings->sync();
    QCOMPARE(QSettings(m_file, QSettings::IniFormat).allKeys().size(), 11 + 3 + 1);

    View::clearAllSettings();
    m_settings->sync();
    QCOMPARE(QSettings(m_file, QSettings::IniFormat).allKeys(), QStringList{"Top"});
    // The live controls keep their state.
    QVERIFY(!dial.useCents->isChecked());
    QVERIFY(volumes.keep->isChecked());
    QCOMPARE(other.number->value(), 42);
    QVERIFY(errors.m_show_action->isChecked());
}

void TestView::operationsVisitInConstructionOrder()
{
    QWidget window;
    RecordingView first("First", &window);
    DialView dial(&window);
    RecordingView second("Second", &window);
    RecordingView third("Third", &window);
    QCOMPARE(View::s_views.size(), std::size_t(4));
    QCOMPARE(*std::next(View::s_views.begin()), static_cast<View*>(&dial));
    View::saveAll();
    View::loadAll();
    View::clearAllSettings();
    QCOMPARE(s_log, (QStringList{"save First", "save Second", "save Third", "load First", "load Second",
                                 "load Third", "clear First", "clear Second", "clear Third"}));
}

void TestView::builderSettingsPersistByDefault()
{
    QWidget window;
    BuilderView plain("Plain", &window, false);
    BuilderView extended("Extended", &window, true);
    QCOMPARE(plain.m_setting_controls, (std::vector<QObject*>{plain.flag, plain.number}));
    plain.flag->setChecked(false);
    plain.hidden->setChecked(true);
    plain.number->setValue(14);
    extended.extraValue = "mine";
    View::saveAll();
    m_settings->sync();
    QSettings file(m_file, QSettings::IniFormat);
    QStringList keys = file.allKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"Extended/extra", "Extended/flag", "Extended/number", "Extended/show",
                                "Plain/flag", "Plain/number", "Plain/show"}));
    QCOMPARE(file.value("Plain/flag").toBool(), false);
    QCOMPARE(file.value("Plain/number").toInt(), 14);
    QCOMPARE(file.value("Extended/flag").toBool(), true);
    QCOMPARE(file.value("Extended/number").toInt(), 10);
    QCOMPARE(file.value("Extended/extra").toString(), QString("mine"));

    // Loading: the stored values come back; a key of a NotStored control is
    // not read.
    file.setValue("Extended/flag", false);
    file.setValue("Extended/hidden", true);
    file.setValue("Extended/number", 3);
    file.setValue("Extended/extra", "stored");
    file.sync();
    m_settings->sync();
    QSignalSpy toggled(extended.flag, SIGNAL(toggled(bool)));
    View::loadAll();
    QVERIFY(!extended.flag->isChecked());
    QCOMPARE(toggled.count(), 1);
    QVERIFY(!extended.hidden->isChecked());
    QCOMPARE(extended.number->value(), 3);
    QCOMPARE(extended.extraValue, QString("stored"));
    QVERIFY(!plain.flag->isChecked());
    QCOMPARE(plain.number->value(), 14);

    // Clearing removes the stored keys, and only those.
    View::clearAllSettings();
    m_settings->sync();
    file.sync();
    QCOMPARE(file.allKeys(), QStringList{"Extended/hidden"});
    QCOMPARE(extended.number->value(), 3);
}

void TestView::destroyedViewLeavesRegistry()
{
    auto* a = new RecordingView("A");
    auto* b = new RecordingView("B");
    QCOMPARE(View::s_views.size(), std::size_t(2));
    delete a;
    QCOMPARE(View::s_views.size(), std::size_t(1));
    QCOMPARE(View::s_views.front(), static_cast<View*>(b));
    View::saveAll(); // would touch the deleted view if it were still listed
    QCOMPARE(s_log, QStringList{"save B"});
    delete b;
}

void TestView::missingSettingsObjectStops_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("saveAll") << "saveAll";
    QTest::newRow("loadAll") << "loadAll";
    QTest::newRow("clearAllSettings") << "clearAllSettings";
}

void TestView::missingSettingsObjectStops()
{
    // Run this program again as a child that calls the operation without a
    // settings object: the assertion stops it and names the expression.
    QFETCH(QString, operation);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORFE_VIEWS_CHILD", operation);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    const QString err = QString::fromLocal8Bit(child.readAllStandardError());
    QVERIFY2(err.contains("s_settings!=NULL"), qPrintable(err));
    QVERIFY2(err.contains("View.cpp"), qPrintable(err));
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QByteArray child = qgetenv("ORFE_VIEWS_CHILD");
    if (!child.isEmpty()) {
        RecordingView view("Child");
        if (child == "saveAll") View::saveAll();
        if (child == "loadAll") View::loadAll();
        if (child == "clearAllSettings") View::clearAllSettings();
        return 0; // not reached: the assertion aborts
    }
    TestView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_view.moc"
