// The detail settings dialog: names, day offsets and eve flags of the nine memorial rows and
// the two row-inclusion print options. It holds no data of its own: the caller fills it,
// shows it, and takes the values back only when it closed with OK.
#pragma once

#include "calendar/Schedule.h"
#include "ui/DialogSupport.h"

#include <array>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace ulvan {

class Interaction;

struct DetailSettings {
    // Name, Offset and Eve of each row are used; the result texts pass through untouched.
    // The first monthly row (kFirstMonthlyRow) has no offset field; its Offset passes through.
    MemorialSchedule Schedule{};
    bool HatsuGatsuPrint = true;
    bool HyakkaNichiPrint = true;
};

class TShosaiForm : public CentredDialog {
    Q_OBJECT

public:
    // `interaction` reports an offset that is not an integer when OK is pressed.
    explicit TShosaiForm(Interaction& interaction, QWidget* parent = nullptr);

    // Fills the fields, shows the dialog modally and returns the edited values on OK;
    // nullopt on Cancel or any other close.
    std::optional<DetailSettings> Edit(const DetailSettings& values);

    // The two halves of Edit, for callers that show the dialog themselves.
    void SetValues(const DetailSettings& values);
    // The fields now; an offset field that is not an integer keeps the offset given to
    // SetValues.
    DetailSettings Values() const;

    // The "標準に戻す" buttons' work.
    void RestoreNames();   // Button1
    void RestoreOffsets(); // Button2
    void RestoreChecks();  // Button3

    std::array<QLineEdit*, 9> NameEdits{};   // Edit1 … Edit9
    std::array<QLineEdit*, 8> OffsetEdits{}; // Edit10 … Edit17 (rows 1-4, 6-9)
    std::array<QCheckBox*, 9> EveBoxes{};    // CheckBox1 … CheckBox9
    QCheckBox* CheckBox10 = nullptr;         // row 5 printed (HatsuGatsuPrint)
    QCheckBox* CheckBox11 = nullptr;         // row 9 printed (HyakkaNichiPrint)
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr; // OK
    QPushButton* Button5 = nullptr; // Cancel

    // The offset field of schedule row `row` (0-based), or nullptr for the first monthly row.
    QLineEdit* OffsetEditOfRow(std::size_t row) const;

private:
    // OK: every offset must be an integer; the first that is not is reported and focused.
    void TryAccept();

    Interaction& m_interaction;
    DetailSettings m_given;
};

} // namespace ulvan
