#ifndef ORFE_ABOUTBOX_H
#define ORFE_ABOUTBOX_H

// The modal about box: icon, name, how the program was built and which Qt it
// runs on, a description and the credits. Interface thread only.

#include <QDialog>
#include <memory>

class Ui_AboutBox;

class AboutBox : public QDialog
{
    Q_OBJECT

    std::unique_ptr<Ui_AboutBox> m_ui;

public:
    explicit AboutBox(QWidget* parent = nullptr);
    ~AboutBox() override;

    // The three lines of the version block: version, compiler, Qt versions.
    static QString versionText();
};

#endif
