// "挿入枠の選択": what a new or unfilled footer frame is to hold, text or a picture. Created once
// and reused; the last choice stays selected for the next use.
#pragma once

#include "ui/DialogSupport.h"

#include <optional>

class QButtonGroup;
class QGroupBox;
class QPushButton;

namespace ulvan {

enum class FrameContentChoice { Text = 0, Picture = 1 };

class TWakuSelForm : public CentredDialog {
    Q_OBJECT

public:
    explicit TWakuSelForm(QWidget* parent = nullptr);

    // Shows the dialog modally; the choice on OK, nullopt on Cancel.
    std::optional<FrameContentChoice> Choose();

    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* RadioGroup1Buttons = nullptr; // ids 0 "文字列", 1 "ｸﾞﾗﾌｨｯｸﾌｧｲﾙ"
    QPushButton* Button1 = nullptr;             // OK (default)
    QPushButton* Button2 = nullptr;             // ｷｬﾝｾﾙ
};

} // namespace ulvan
