// "文字枠の編集": the text of one footer frame, its writing direction, font and weight. Created
// once and reused; the caller fills it before each showing and reads it back on OK.
#pragma once

#include "ui/DialogSupport.h"

#include <QString>

#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ulvan {

class Interaction;

struct TextFrameValues {
    QString Text;
    bool Vertical = true; // "縦組み"; false for "横組み"
    QString Face;         // the font box's text as it stands (may be empty)
    bool Bold = false;

    friend bool operator==(const TextFrameValues&, const TextFrameValues&) = default;
};

class TMojiForm : public CentredDialog {
    Q_OBJECT

public:
    // The font box is filled here, once, with the faces every font box of the program offers.
    // `interaction` asks the clear button's question.
    explicit TMojiForm(Interaction& interaction, QWidget* parent = nullptr);

    // Fills the controls, shows the dialog modally (the text box focused) and returns the
    // controls' values on OK; nullopt on Cancel.
    std::optional<TextFrameValues> Edit(const TextFrameValues& values);

    void SetValues(const TextFrameValues& values);
    TextFrameValues Values() const;

    // ｸﾘｱ: asks, then empties the text box on Yes.
    void ClearText();

    QLineEdit* Edit1 = nullptr;
    QToolButton* SpeedButton1 = nullptr; // ｸﾘｱ
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* RadioGroup1Buttons = nullptr; // ids 0 "縦組み", 1 "横組み"
    QComboBox* ComboBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr; // 太字
    QPushButton* Button1 = nullptr; // OK (default)
    QPushButton* Button2 = nullptr; // ｷｬﾝｾﾙ

protected:
    void showEvent(QShowEvent* event) override;

private:
    Interaction& m_interaction;
};

} // namespace ulvan
