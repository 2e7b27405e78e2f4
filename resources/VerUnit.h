// The about box: the program's name, its version and this build's, the emblem, the OK button
// and a button to the guide's licence page.
#pragma once

#include "ui/DialogSupport.h"

#include <functional>

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
    QLabel* BuildVersion = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* LicenseButton = nullptr;

    // Asked to show the guide at an anchor (the licence and libraries), over this box.
    std::function<void(const QString& anchor)> OnHelp;
};

// The version of this build: the program's version and the source revision it was built from.
QString BuildVersionText();

inline constexpr char kAboutHelpAnchor[] = "about";

} // namespace ulvan
