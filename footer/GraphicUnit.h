// "ｸﾞﾗﾌｨｯｸ枠の設定": the picture file of one footer frame and whether its proportions are kept.
// Created once and reused; the caller fills it before each showing and reads it back on OK.
// Whether the file can be read is found out when the frame is drawn.
#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace ulvan {

class Interaction;

struct PictureFrameValues {
    QString File;
    bool KeepAspect = true; // "縦横比を固定して表示"

    friend bool operator==(const PictureFrameValues&, const PictureFrameValues&) = default;
};

// The file types the reference dialog offers: the picture kinds a footer frame may name.
QString PictureFileFilter();

class TGraphicForm : public QDialog {
    Q_OBJECT

public:
    // `interaction` shows the reference dialog.
    explicit TGraphicForm(Interaction& interaction, QWidget* parent = nullptr);

    // Fills the controls, shows the dialog modally and returns the values on OK; nullopt on
    // Cancel.
    std::optional<PictureFrameValues> Edit(const PictureFrameValues& values);

    void SetValues(const PictureFrameValues& values);
    PictureFrameValues Values() const;

    // 参照: the picture file dialog; a chosen file replaces the file name with its full path.
    void BrowseForPicture();

    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr; // 参照
    QCheckBox* CheckBox1 = nullptr; // 縦横比を固定して表示
    QPushButton* Button2 = nullptr; // OK
    QPushButton* Button3 = nullptr; // ｷｬﾝｾﾙ

private:
    Interaction& m_interaction;
};

} // namespace ulvan
