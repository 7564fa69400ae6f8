#include "CustomConfigForm.h"

CustomConfigForm::CustomConfigForm(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
}
