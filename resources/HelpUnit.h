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
    // Shows the section at `anchor` and brings the window to the front. A modal window that
    // asks passes itself as `over`: the guide then stands over it and takes input while it
    // is open, and goes back to its own place when that window closes.
    void ShowTopic(const QString& anchor, QWidget* over = nullptr);

    QTextBrowser* HelpText = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StandOver(QWidget* over);

    QWidget* m_home = nullptr;
    QWidget* m_over = nullptr;
};

} // namespace ulvan
