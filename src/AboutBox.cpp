#include "AboutBox.h"

#include "Version.h"
#include "ui_AboutBox.h"
#include <QtGlobal>

namespace {
const char* const ISSUES_URL = "https://github.com/orfeon/orfeon/issues";
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui_AboutBox>())
{
    m_ui->setupUi(this);
    connect(m_ui->buttonBox, SIGNAL(accepted()), this, SLOT(accept()));
    connect(m_ui->buttonBox, SIGNAL(rejected()), this, SLOT(reject()));

    m_ui->lblVersion->setText(versionText());

    QString about = tr("<h4>Purpose</h4>");
    about +=
        tr("<i>ORFE</i> is a graphical utility for tuning your musical instruments, with error and volume "
           "history and advanced features. ");
    about += tr("<p>Missing a feature, or found something that does not work as it should? Tell us on the "
                "<a href=\"%1\">issue tracker</a>; a short description of what you played, with which "
                "capture system, helps a lot.</p>")
                 .arg(QLatin1String(ISSUES_URL));
    about += tr("<h4>Legal</h4>");
    about +=
        tr("<p>ORFE is free software, licensed under the GNU General Public License, version 3 or any "
           "later version: you may share it, change it and pass on your changes under that licence.</p>");
    about += tr("<h4>Disclaimer</h4>");
    about += tr("<p>ORFE comes with no warranty of any kind, not even that it suits a particular use. Check "
                "important tunings by ear or with a second reference; the licence has the details.</p>");
    m_ui->txtAbout->setHtml(about);
}

AboutBox::~AboutBox() = default;

QString AboutBox::versionText()
{
    const QString bits = QString::number(int(sizeof(void*)) * 8) + QStringLiteral("bits");
    return QStringLiteral("Version ") + orfe::Version() + QStringLiteral("\nCompiled by ") +
           orfe::CompilerDescription() + QStringLiteral(" for ") + bits +
           QStringLiteral("\nCompiled with Qt ") + QStringLiteral(QT_VERSION_STR) +
           QStringLiteral(" Running with Qt ") + QLatin1String(qVersion());
}
