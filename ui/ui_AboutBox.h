#ifndef UI_ABOUTBOX_H
#define UI_ABOUTBOX_H

// Static layout of the about box: an "About" tab with the icon, the name, the
// version block and the description, and a "Credits" tab.

#include <QtCore/QCoreApplication>
#include <QtGui/QIcon>
#include <QtGui/QPixmap>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QDialog>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QSpacerItem>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTextBrowser>
#include <QtWidgets/QWidget>

class Ui_AboutBox
{
public:
    QVBoxLayout* verticalLayout;
    QTabWidget* tabWidget;
    QWidget* tab;
    QHBoxLayout* horizontalLayout_2;
    QVBoxLayout* verticalLayout_2;
    QLabel* label;
    QSpacerItem* verticalSpacer;
    QVBoxLayout* verticalLayout_5;
    QLabel* label_3;
    QLabel* lblVersion;
    QTextBrowser* txtAbout;
    QWidget* tab_3;
    QVBoxLayout* verticalLayout_4;
    QTextBrowser* textBrowser;
    QDialogButtonBox* buttonBox;

    void setupUi(QDialog* d)
    {
        if (d->objectName().isEmpty()) d->setObjectName(QString::fromUtf8("AboutBox"));
        d->resize(638, 652);
        d->setWindowIcon(QIcon(QString::fromUtf8(":/orfe/ui/images/orfe.svg")));
        verticalLayout = new QVBoxLayout(d);
        verticalLayout->setObjectName(QString::fromUtf8("verticalLayout"));
        tabWidget = new QTabWidget(d);
        tabWidget->setObjectName(QString::fromUtf8("tabWidget"));

        tab = new QWidget();
        tab->setObjectName(QString::fromUtf8("tab"));
        horizontalLayout_2 = new QHBoxLayout(tab);
        horizontalLayout_2->setObjectName(QString::fromUtf8("horizontalLayout_2"));
        verticalLayout_2 = new QVBoxLayout();
        verticalLayout_2->setObjectName(QString::fromUtf8("verticalLayout_2"));
        verticalLayout_2->setSpacing(0);
        label = new QLabel(tab);
        label->setObjectName(QString::fromUtf8("label"));
        label->setMaximumSize(64, 64);
        label->setPixmap(QPixmap(QString::fromUtf8(":/orfe/ui/images/orfe.svg")));
        label->setScaledContents(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        verticalLayout_2->addWidget(label);
        verticalSpacer = new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding);
        verticalLayout_2->addItem(verticalSpacer);
        horizontalLayout_2->addLayout(verticalLayout_2);

        verticalLayout_5 = new QVBoxLayout();
        verticalLayout_5->setObjectName(QString::fromUtf8("verticalLayout_5"));
        label_3 = new QLabel(tab);
        label_3->setObjectName(QString::fromUtf8("label_3"));
        QFont name_font;
        name_font.setPointSize(22);
        name_font.setBold(true);
        label_3->setFont(name_font);
        label_3->setFrameShape(QFrame::NoFrame);
        verticalLayout_5->addWidget(label_3);
        lblVersion = new QLabel(tab);
        lblVersion->setObjectName(QString::fromUtf8("lblVersion"));
        lblVersion->setFrameShape(QFrame::NoFrame);
        lblVersion->setTextFormat(Qt::PlainText);
        verticalLayout_5->addWidget(lblVersion);
        txtAbout = browser(tab, "txtAbout");
        verticalLayout_5->addWidget(txtAbout);
        horizontalLayout_2->addLayout(verticalLayout_5, 1);
        tabWidget->addTab(tab, QString());

        tab_3 = new QWidget();
        tab_3->setObjectName(QString::fromUtf8("tab_3"));
        verticalLayout_4 = new QVBoxLayout(tab_3);
        verticalLayout_4->setObjectName(QString::fromUtf8("verticalLayout_4"));
        textBrowser = browser(tab_3, "textBrowser");
        verticalLayout_4->addWidget(textBrowser);
        tabWidget->addTab(tab_3, QString());
        verticalLayout->addWidget(tabWidget);

        buttonBox = new QDialogButtonBox(d);
        buttonBox->setObjectName(QString::fromUtf8("buttonBox"));
        buttonBox->setOrientation(Qt::Horizontal);
        buttonBox->setStandardButtons(QDialogButtonBox::Close);
        verticalLayout->addWidget(buttonBox);

        retranslateUi(d);
        tabWidget->setCurrentIndex(0);
        QMetaObject::connectSlotsByName(d);
    }

    void retranslateUi(QDialog* d)
    {
        d->setWindowTitle(QCoreApplication::translate("AboutBox", "About ORFE\u2026"));
        label->setText(QString());
        label->setPixmap(QPixmap(QString::fromUtf8(":/orfe/ui/images/orfe.svg")));
        label_3->setText(QCoreApplication::translate("AboutBox", "ORFE"));
        lblVersion->setText(QCoreApplication::translate("AboutBox", "<version>"));
        tabWidget->setTabText(tabWidget->indexOf(tab), QCoreApplication::translate("AboutBox", "About"));
        textBrowser->setHtml(QCoreApplication::translate(
            "AboutBox", "<h4>Credits</h4>"
                        "<p>Sound analysis, capture, views and interface written for the Orfeon project.</p>"
                        "<p>Built on the Qt toolkit (The Qt Company and contributors), the FFTW library "
                        "(Matteo Frigo and Steven G. Johnson) for the Fourier transforms, and the JACK Audio "
                        "Connection Kit "
                        "for low-latency capture.</p>"
                        "<p>Historical temperaments after the tables of Andreas Werckmeister and Johann "
                        "Philipp Kirnberger; "
                        "microtonal scales in the Scala file format of Manuel Op de Coul.</p>"
                        "<p>Translations: French by the Orfeon contributors.</p>"));
        tabWidget->setTabText(tabWidget->indexOf(tab_3), QCoreApplication::translate("AboutBox", "Credits"));
    }

private:
    static QTextBrowser* browser(QWidget* parent, const char* name)
    {
        auto* b = new QTextBrowser(parent);
        b->setObjectName(QString::fromUtf8(name));
        b->setFrameShape(QFrame::NoFrame);
        b->setFrameShadow(QFrame::Plain);
        b->setLineWidth(0);
        b->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard |
                                   Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        b->setOpenExternalLinks(true);
        return b;
    }
};

namespace Ui {
class AboutBox : public Ui_AboutBox
{
};
} // namespace Ui

#endif
