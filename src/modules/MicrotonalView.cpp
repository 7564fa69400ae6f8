#include "MicrotonalView.h"

#include "Music/Music.h"

#include <QAction>
#include <QActionGroup>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cassert>
#include <cmath>
#include <iostream>
#include <memory>

namespace {

const int ROOT_COUNT = 13;
const float NO_CURSOR = -1000.0f;
// Roots a stored "selectedRoot" may name: the buttons' semitones in either
// arrangement (3 to 15 from C5, or 0 to 11 with the root kept to the left).
const int ROOT_MIN = 0;
const int ROOT_MAX = 15;

QString NoteName(int ht)
{
    return QString::fromStdString(Music::GetNoteName(ht, Music::s_notes_name, Music::s_transposition, true));
}

// `position` brought into [0, width]: a position past the right end wraps to
// (0, width], so that an octave (2/1) stays at the right end; a negative one to
// [0, width). Done with fmod: a scale file may hold huge cents values. A value
// that is no position at all (a 0/1 ratio) goes to the left end.
double IntoBand(double position, double width)
{
    if (!std::isfinite(position) || !(width > 0.0)) return 0.0;
    if (position > width) {
        position = std::fmod(position, width);
        if (position == 0.0) position = width;
    } else if (position < 0.0) {
        position = std::fmod(position, width);
        if (position < 0.0) position += width;
    }
    return position;
}

void DrawMarker(QPainter& p, int x, int h)
{
    const int tip = 2 * h / 3;
    const QPoint triangle[3] = {QPoint(x - 5, 0), QPoint(x + 5, 0), QPoint(x, tip)};
    p.drawPolygon(triangle, 3);
    p.drawLine(x, tip, x, h);
}

} // namespace

// ---------------------------------------------------------------------------
// QRoot

QRoot::QRoot(QWidget* parent, int ht) : QPushButton(parent), ht(ht)
{
    setFlat(true);
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    setMinimumWidth(55);
    relabel();
    connect(this, SIGNAL(clicked()), this, SLOT(clicked2()));
}

void QRoot::relabel()
{
    setText(NoteName(ht));
}

void QRoot::clicked2()
{
    emit rootClicked(ht);
}

// ---------------------------------------------------------------------------
// Labels

MicrotonalView::QScaleLabel::QScaleLabel(MicrotonalView* view) : QLabel(view), m_view(view)
{
    setMaximumHeight(15);
}

void MicrotonalView::QScaleLabel::paintEvent(QPaintEvent* e)
{
    QLabel::paintEvent(e);
    QPainter p(this);
    const int h = height();
    const int b = m_view->bandBegin();
    const int e_ = m_view->bandEnd();
    const int w = e_ - b;

    p.setBrush(Qt::white);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, b, h - 1);
    p.drawRect(e_, 0, width() - 2 - e_, h - 1);
    p.setPen(Qt::black);
    p.drawRect(b, 0, w, h - 1);

    if (m_cursor == NO_CURSOR || !std::isfinite(m_cursor) || w <= 0) return;
    double pos = std::fmod((double(m_cursor) - m_view->m_roots.front()->ht) * w / 12.0, double(w));
    if (pos < 0.0) pos += w;
    if (pos >= w) pos -= w;
    const int x = b + int(pos);
    p.setPen(QColor(0, 0, 255));
    p.setBrush(QColor(191, 191, 255));
    DrawMarker(p, x, h);
    const double quarter = w / 48.0;
    if (pos < quarter)
        DrawMarker(p, x + w, h);
    else if (w - pos < quarter)
        DrawMarker(p, x - w, h);
}

MicrotonalView::QRatiosLabel::QRatiosLabel(MicrotonalView* view) : QLabel(view), m_view(view)
{
    setMaximumHeight(6 * fontMetrics().height() + 42);
}

void MicrotonalView::QRatiosLabel::paintEvent(QPaintEvent* e)
{
    QLabel::paintEvent(e);
    QPainter p(this);
    const QFontMetrics fm = fontMetrics();
    const int fh = fm.height();
    const int r = std::min(2 * fh + 2, (height() - fh - 10) / 3);
    const int b = m_view->bandBegin();
    const int w = m_view->bandEnd() - b;
    const int first_ht = m_view->m_roots.front()->ht;
    const int o = m_view->m_keep_root_action->isChecked() ? 0 : m_view->m_root - first_ht;

    const QPen blue(QColor(0, 0, 255));
    int row = 0;
    for (ScaleDegree& degree : m_view->m_current_scale->values) {
        const double semitones =
            degree.is_ratio ? 12.0 * std::log2(double(degree.ratio)) : degree.cents / 100.0;
        const int x = b + int(IntoBand((o + semitones) * w / 12.0, w));
        const int y0 = row * r + 14;
        p.setPen(blue);
        p.setBrush(Qt::NoBrush);
        p.drawLine(x, 0, x, y0 + r);

        QString top, bottom;
        if (degree.is_ratio) {
            top = QString::number(degree.numerator);
            bottom = QString::number(degree.denominator);
        } else {
            bottom = QString::number(double(degree.cents), 'g', 6);
        }
        QRect box = fm.boundingRect(bottom).translated(x + 1, y0 + 2 * fh);
        if (degree.is_ratio) box = box.united(fm.boundingRect(top).translated(x + 1, y0 + fh));
        degree.label_rect = QRect(QPoint(x, box.top() - 2), QPoint(box.right() + 2, y0 + r));

        if (&degree == m_view->m_tuning_degree) {
            p.setBrush(QColor(210, 210, 255));
            p.drawRect(degree.label_rect);
            p.setBrush(Qt::NoBrush);
        }
        if (degree.is_ratio) {
            p.drawText(x + 1, y0 + fh, top);
            const int bar = row * r + 16 + fh;
            p.drawLine(x, bar, x + fm.horizontalAdvance(top), bar);
        }
        p.drawText(x + 1, y0 + 2 * fh, bottom);
        row = (row + 1) % 3;
    }

    // Ticks hanging from the top: semitones, then halves, quarters and eighths.
    p.setPen(Qt::black);
    const struct
    {
        double step;
        int length;
    } series[] = {{1.0, 12}, {0.5, 6}, {0.25, 4}, {0.125, 3}};
    for (const auto& s : series) {
        const double start = s.step < 1.0 ? s.step : 0.0;
        const double step = s.step < 1.0 ? 2.0 * s.step : 1.0;
        for (double k = start; k <= 12.0; k += step) {
            const int x = b + int(w * k / 12.0);
            p.drawLine(x, 0, x, s.length - 1);
        }
    }
}

// ---------------------------------------------------------------------------
// MicrotonalView

MicrotonalView::MicrotonalView(QWidget* parent, const QString& scales_directory)
    : QFrame(parent), View(tr("Microtonal"), this), m_scales_menu(tr("Used scale"), this)
{
    m_show_action->setIcon(QIcon(":/orfe/ui/images/module_microtonal.svg"));
    m_show_action->setChecked(false);
    hide();

    m_octave_spin = addSpinSetting(tr("Root's octave"), "octave", -3, 8, 1, 3, tr("Root's octave"),
                                   SLOT(emitTuningFreqChanged()));
    m_keep_root_action =
        addCheckSetting(tr("Keep root to left side"), "keepRootToLeft", false, SLOT(keepRootToLeft(bool)));
    m_load_scale_action = m_popup_menu.addAction(tr("Load Scala file \u2026"));
    connect(m_load_scale_action, SIGNAL(triggered()), this, SLOT(loadScale()));
    m_popup_menu.addMenu(&m_scales_menu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* roots = new QHBoxLayout();
    roots->setSpacing(0);
    for (int i = 0; i < ROOT_COUNT; ++i) {
        if (i > 0) roots->addStretch();
        auto* root = new QRoot(this, 3 + i);
        connect(root, SIGNAL(rootClicked(int)), this, SLOT(selectRoot(int)));
        roots->addWidget(root);
        m_roots.append(root);
    }
    m_roots.back()->setEnabled(false);
    layout->addLayout(roots);
    m_scale_label = new QScaleLabel(this);
    layout->addWidget(m_scale_label);
    m_ratios_label = new QRatiosLabel(this);
    layout->addWidget(m_ratios_label);
    setMaximumHeight(m_scale_label->maximumHeight() + m_ratios_label->maximumHeight() + 20);

    setting_scales.append(new Scale(Scales::DefaultScale()));
    Scales::LoadInstalledScales(setting_scales, scales_directory);
    m_current_scale = setting_scales.front();
    refreshScaleList();
    selectRoot(3);
    selectScale(0);
}

MicrotonalView::~MicrotonalView()
{
    qDeleteAll(setting_scales);
}

int MicrotonalView::bandBegin() const
{
    const QRoot* root = m_roots.front();
    return root->x() + root->width() / 2 - m_scale_label->x();
}

int MicrotonalView::bandEnd() const
{
    const QRoot* root = m_roots.back();
    return root->x() + root->width() / 2 - m_scale_label->x();
}

void MicrotonalView::save()
{
    View::save();
    QStringList files;
    for (const Scale* scale : setting_scales)
        if (!scale->filename.isEmpty()) files << scale->filename;
    s_settings->setValue("scales", files);
    s_settings->setValue("selectedScale", m_current_scale->name);
    s_settings->setValue("lastScalesDirectory", m_last_scales_dir);
    s_settings->setValue("selectedRoot", m_root);
}

void MicrotonalView::load()
{
    View::load();
    for (const QString& path : s_settings->value("scales").toStringList())
        Scales::AddScaleFile(setting_scales, path, QStringLiteral("MicrotonalView::load"));
    refreshScaleList();
    selectScale(s_settings->value("selectedScale", QStringLiteral("default")).toString());
    m_last_scales_dir =
        s_settings->value("lastScalesDirectory", Scales::InstalledScalesDirectory()).toString();
    // A root outside the buttons' semitones (a damaged store) keeps the current one.
    bool ok = false;
    const int root = s_settings->value("selectedRoot", m_roots.front()->ht).toString().trimmed().toInt(&ok);
    if (ok && root >= ROOT_MIN && root <= ROOT_MAX)
        selectRoot(root);
    else
        std::cout << "MicrotonalView::load ignoring the stored root '"
                  << s_settings->value("selectedRoot").toString().toLocal8Bit().constData() << "'"
                  << std::endl;
}

void MicrotonalView::clearSettings()
{
    View::clearSettings();
    for (const char* key : {"scales", "selectedScale", "lastScalesDirectory", "selectedRoot"})
        s_settings->remove(key);
}

void MicrotonalView::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        ScaleDegree* before = m_tuning_degree;
        m_tuning_degree = nullptr;
        const QPoint at = m_ratios_label->mapFrom(this, e->localPos().toPoint());
        for (ScaleDegree& degree : m_current_scale->values)
            if (degree.label_rect.contains(at)) {
                m_tuning_degree = &degree;
                break;
            }
        if (m_tuning_degree != before) {
            m_ratios_label->update();
            emitTuningFreqChanged();
        }
    }
    View::mouseReleaseEvent(e);
}

void MicrotonalView::feedCycle(const CycleData& data)
{
    setAFreq(float(Music::GetAFreq()));
    updateCursor(float(data.freq));
}

QString MicrotonalView::tuningNoteText() const
{
    if (!m_tuning_degree) return tr("no tuning note selected");
    return NoteName(m_root + 12 * m_octave_spin->value() - 60) + ":" + m_tuning_degree->text();
}

void MicrotonalView::openScaleFile(const QString& path)
{
    std::unique_ptr<Scale> scale;
    try {
        scale = std::make_unique<Scale>(path, Scale::SCALA);
    } catch (const QString& message) {
        QMessageBox::information(this, tr("Open scale file"),
                                 tr("Invalid file content !") + "\n(" + message + ")", QMessageBox::Ok);
        return;
    }
    if (Scales::FindScale(setting_scales, scale->name)) {
        QMessageBox::information(this, tr("Open scale file"), tr("Scale name already exist"),
                                 QMessageBox::Ok);
        return;
    }
    setting_scales.append(scale.release());
    selectScale(setting_scales.size() - 1);
    refreshScaleList();
}

void MicrotonalView::refreshScaleList()
{
    m_scales_menu.clear();
    if (m_scales_group) m_scales_group->deleteLater();
    m_scales_group = new QActionGroup(this);
    m_scales_group->setExclusive(true);
    for (int i = 0; i < setting_scales.size(); ++i) {
        QAction* action = m_scales_group->addAction(setting_scales[i]->name);
        action->setCheckable(true);
        action->setData(i);
        action->setChecked(setting_scales[i] == m_current_scale);
        connect(action, SIGNAL(toggled(bool)), this, SLOT(scaleActionToggled(bool)));
        m_scales_menu.addAction(action);
    }
}

void MicrotonalView::loadScale()
{
    QFileDialog dialog(this, tr("Open scale file"), m_last_scales_dir, tr("Scala files (*.scl *.SCL)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        m_last_scales_dir = dialog.directory().absolutePath();
        if (s_settings) s_settings->setValue("MicrotonalView_lastScalesDirectory", m_last_scales_dir);
        openScaleFile(dialog.selectedFiles().front());
    }
    m_ratios_label->update();
}

void MicrotonalView::scaleActionToggled(bool checked)
{
    if (!checked) return;
    if (auto* action = qobject_cast<QAction*>(sender())) selectScale(action->data().toInt());
}

void MicrotonalView::selectScale(int index)
{
    // clang-format off
    assert(index>=0 && index<int(setting_scales.size()));
    // clang-format on
    m_current_scale = setting_scales[index];
    const QList<QAction*> actions = m_scales_menu.actions();
    for (int i = 0; i < actions.size(); ++i)
        actions[i]->setChecked(i == index);
    m_ratios_label->update();
}

void MicrotonalView::emitTuningFreqChanged()
{
    m_tuning_freq = 0.0f;
    if (!m_tuning_degree) {
        emit tuningFreqChanged(0.0f);
        return;
    }
    const int s = m_root + 12 * m_octave_spin->value() - 60;
    float f;
    if (m_tuning_degree->is_ratio) {
        f = float(m_AFreq * std::pow(2.0, s / 12.0) * m_tuning_degree->numerator /
                  double(m_tuning_degree->denominator));
    } else {
        const float t = m_tuning_degree->cents / 100.0f + float(s);
        f = float(m_AFreq * std::pow(2.0f, t / 12.0f));
    }
    // A degree of 0/1 or of huge cents has no usable frequency: no target.
    if (!std::isfinite(f)) f = 0.0f;
    m_tuning_freq = f;
    emit tuningFreqChanged(f);
}

void MicrotonalView::setAFreq(float AFreq)
{
    if (AFreq == m_AFreq) return;
    m_AFreq = AFreq;
    emitTuningFreqChanged();
}

void MicrotonalView::selectScale(const QString& name)
{
    const int index = setting_scales.indexOf(Scales::FindScale(setting_scales, name));
    if (index < 0) {
        std::cout << "MicrotonalView::selectScale unknown scale '" << name.toLocal8Bit().constData() << "'"
                  << std::endl;
        return;
    }
    selectScale(index);
}

void MicrotonalView::setRootsFrom(int first)
{
    for (int i = 0; i < m_roots.size(); ++i) {
        m_roots[i]->ht = ((first + i) % 12 + 12) % 12;
        m_roots[i]->relabel();
    }
}

void MicrotonalView::selectRoot(int ht)
{
    if (ht != m_root && m_keep_root_action->isChecked()) setRootsFrom(ht);
    for (QRoot* root : m_roots)
        root->setChecked(root->ht == ht);
    if (ht == m_root) return;
    m_root = ht;
    m_ratios_label->update();
    emitTuningFreqChanged();
}

void MicrotonalView::updateCursor(float freq)
{
    m_scale_label->m_cursor = 12.0f * std::log2(freq / m_AFreq);
    m_scale_label->update();
}

void MicrotonalView::notesNameChanged()
{
    for (QRoot* root : m_roots)
        root->relabel();
}

void MicrotonalView::keepRootToLeft(bool keep)
{
    if (!keep) return;
    setRootsFrom(m_root);
    selectRoot(m_root);
    m_ratios_label->update();
}
