#include "GLHistory.h"

#include "Music/Music.h"

GLHistory::GLHistory(const QString& name, QWidget* parent) : QOpenGLWidget(parent), View(name, this)
{
    m_font.setFamily("Helvetica");
    keep = addCheckSetting(tr("Keep previous notes"), "keep", false, SLOT(keepPreviousNotes(bool)));
}

void GLHistory::mouseReleaseEvent(QMouseEvent* e)
{
    View::mouseReleaseEvent(e);
}

void GLHistory::keepPreviousNotes(bool k)
{
    if (!k) dropPreviousNotes();
}

void GLHistory::initializeGL()
{
    orfe::glInitWhite();
}

void GLHistory::resizeGL(int, int)
{
    orfe::glPixelProjection(*this);
}

QString GLHistory::noteName(int ht)
{
    return QString::fromStdString(Music::GetNoteName(ht, Music::s_notes_name, Music::s_transposition, true));
}

void GLHistory::paintGL()
{
    glClear(GL_COLOR_BUFFER_BIT);
    orfe::glLineWidthLogical(*this, 1.0f);
    QPainter p(this);
    paintHistory(p);
    p.end();
    glFlush();
}

void GLHistory::paintTitle(QPainter& p, const QString& title)
{
    setFontSize(p, 20);
    p.drawText(2, 20, title);
}

void GLHistory::setFontSize(QPainter& p, int pixelSize)
{
    m_font.setPixelSize(pixelSize);
    p.setFont(m_font);
}
