// The help window: the program's guide, shipped inside the program, shown beside the main
// window (not modal) so that the user can read while working.
#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;

namespace ulvan {

// Where the guide lives among the program's resources.
QUrl HelpContentsUrl();

class THelpForm : public QDialog {
    Q_OBJECT

public:
    explicit THelpForm(QWidget* parent = nullptr);

    // Shows the contents at the top and brings the window to the front.
    void ShowContents();

    QTextBrowser* HelpText = nullptr;
};

} // namespace ulvan
