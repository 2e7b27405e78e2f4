// The import window "ファイルからデータの取り込み": the user picks a record file, pages through
// its lines and copies the shown record into the main window through the host.
#pragma once

#include "ui/DialogSupport.h"

#include <array>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ulvan {

class CaseHost;
class Interaction;

class TTakeForm : public CentredDialog {
    Q_OBJECT

public:
    TTakeForm(CaseHost& host, Interaction& interaction, QWidget* parent = nullptr);

    // Shows the window modally on the stored file name, reading the file again and showing
    // its last record; OK copies the shown record into the main window. True for OK.
    bool Run();

    // Reads the file named in Edit1 and shows its last record; a missing or empty file
    // empties the record fields and disables the record buttons.
    void LoadRecordFile();
    // Shows line RecInd of the file.
    void ShowRecord();
    // The four record buttons, told apart by their tags (1 first, 2 previous, 3 next, 4 last).
    void RecordButtonClick(int tag);

    int RecordCount() const { return static_cast<int>(DataList.size()); }

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    // Says that the file holds characters that could not be read, or why it could not be.
    QLabel* Label16 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label13 = nullptr;
    std::array<QToolButton*, 4> RecordButtons{}; // SpeedButton1 … SpeedButton4
    QLabel* Label12 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label14 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Label15 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QLabel* Label11 = nullptr;
    QFrame* Panel2 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

protected:
    // Closing, with OK or Cancel: the file name is stored and the lists freed.
    void done(int result) override;

private:
    void Browse();
    void ClearRecord();

    CaseHost& m_host;
    Interaction& m_interaction;
    std::vector<std::u16string> DataList;
    std::vector<std::u16string> RecordList;
    int RecInd = 0;
};

} // namespace ulvan
