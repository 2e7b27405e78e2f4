// The about box: the program's name, its version and the emblem, with one OK button.
#pragma once

#include "ui/DialogSupport.h"

class QLabel;
class QPushButton;

namespace ulvan {

class TVerForm : public CentredDialog {
    Q_OBJECT

public:
    explicit TVerForm(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QPushButton* OKButton = nullptr;
};

} // namespace ulvan
