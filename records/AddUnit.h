// The append window "ファイルへデータを追記": the user names the record file to which the main
// window's current deceased is added as one more line.
#pragma once

#include "ui/DialogSupport.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ulvan {

class CaseHost;
class Interaction;

class TAddForm : public CentredDialog {
    Q_OBJECT

public:
    TAddForm(CaseHost& host, Interaction& interaction, QWidget* parent = nullptr);

    // Shows the window modally on the stored file name; OK appends the case (AppendRecord).
    void Run();

    // Appends the main window's deceased as one line to the file named in Edit1. Characters
    // the file cannot hold are named and asked about first; a failure leaves the file as it
    // was and says why; success is reported in the main window's status bar. True when the
    // line was written.
    bool AppendRecord();

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

protected:
    // Closing, with OK or Cancel: the file name is stored.
    void done(int result) override;

private:
    void Browse();

    CaseHost& m_host;
    Interaction& m_interaction;
};

} // namespace ulvan
