#ifndef ORFE_CUSTOMCONFIGFORM_H
#define ORFE_CUSTOMCONFIGFORM_H

// The configuration dialog. It has no logic of its own: the main window fills
// it, applies it and persists its controls. Interface thread only.

#include "ui_ConfigForm.h"
#include <QDialog>

class CustomConfigForm : public QDialog, public Ui_ConfigForm
{
    Q_OBJECT

public:
    explicit CustomConfigForm(QWidget* parent = nullptr);
};

#endif
