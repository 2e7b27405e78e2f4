// The posthumous-name editor: a field for the name and twenty buttons that insert the
// characters and words common in posthumous names. An insertion goes through the system
// clipboard, as a cut and paste would: afterwards the clipboard holds the inserted caption.
#pragma once

#include "ui/DialogSupport.h"

#include <array>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ulvan {

class TKaiForm : public CentredDialog {
    Q_OBJECT

public:
    // The name field's limit, in characters.
    static constexpr int kMaxChars = 32;

    explicit TKaiForm(QWidget* parent = nullptr);

    // Puts `kaimyo` into the field, shows the dialog modally and returns the field on OK;
    // nullopt on Cancel.
    std::optional<QString> Edit(const QString& kaimyo);

    // Inserts `text` at the caret of Kaimyo, replacing the selection, cut down to what fits
    // within the limit (nothing when the field is full).
    void InsertText(const QString& text);

    QLabel* Label1 = nullptr;
    QLineEdit* Kaimyo = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* ClrBttn = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    std::array<QToolButton*, 20> SpeedButtons{}; // SpeedButton1 … SpeedButton20
    QPushButton* OkBttn = nullptr;
    QPushButton* CanBttn = nullptr;
    QLineEdit* Edit1 = nullptr; // hidden scratch field of the clipboard route

protected:
    void showEvent(QShowEvent* event) override;

private:
    void InsertCaption(const QString& caption);
};

} // namespace ulvan
