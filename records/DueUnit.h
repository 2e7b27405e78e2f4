// The window "今年の年回該当者": every record of the record file that owes one of the annual
// memorials in a year (or in that year and the next), 没年不明 records apart; a record is
// loaded into the main window by double-click or Enter; the list is printed or saved as CSV.
#pragma once

#include "records/DueList.h"
#include "records/DuePrint.h"
#include "ui/DialogSupport.h"

#include <QDate>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace ulvan {

class CaseHost;
class Interaction;
class UpDown;

class TDueForm : public CentredDialog {
    Q_OBJECT

public:
    TDueForm(CaseHost& host, Interaction& interaction, QWidget* parent = nullptr);

    // Shows the window modally for the host's current year on the stored record file.
    // True when a record was loaded into the main window.
    bool Run();

    // Reads the file named in FileEdit and lists it for the year in YearEdit.
    void Reload();
    // Lists the records already read for the year and switch shown.
    void Relist();
    // Loads the record of a row of DueTable (or, with `undated`, of UndatedTable) into the
    // main window and closes the window.
    void LoadRow(int row, bool undated);
    // Prints the list through the print dialog.
    void PrintList();
    // Paints the list on a device (the printer, or a PDF in the tests).
    DuePrintResult PaintTo(QPagedPaintDevice& device) const;
    // Saves the list as CSV in the encoding EncodingCombo names; true when written.
    bool SaveCsv();

    const DueList& List() const { return m_list; }

    QLabel* YearLabel = nullptr;
    QLineEdit* YearEdit = nullptr;
    UpDown* YearUpDown = nullptr;
    QLabel* EraLabel = nullptr;
    QCheckBox* NextCheck = nullptr;
    QLabel* FileLabel = nullptr;
    QLineEdit* FileEdit = nullptr;
    QPushButton* BrowseButton = nullptr;
    QPushButton* ReloadButton = nullptr;
    QLabel* ProblemLabel = nullptr;
    QTableWidget* DueTable = nullptr;
    QLabel* UndatedLabel = nullptr;
    QTableWidget* UndatedTable = nullptr;
    QLabel* CountLabel = nullptr;
    QLabel* EncodingLabel = nullptr;
    QComboBox* EncodingCombo = nullptr; // 0: UTF-8 with a byte-order mark, 1: code page 932
    QPushButton* PrintButton = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Browse();
    void Step(int delta);
    QString Heading() const;
    void Fill(QTableWidget* table, const std::vector<DueRow>& rows);

    CaseHost& m_host;
    Interaction& m_interaction;
    std::vector<std::u16string> m_lines;
    DueList m_list;
    bool m_loaded = false;
};

} // namespace ulvan
