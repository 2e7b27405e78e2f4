// Small pieces every dialog of the program shares: the fixed-border look without a close
// box, centring on the screen, fonts by the faces the windows were designed with, coloured
// labels placed at design coordinates, and length limits that bind typing only.
#pragma once

#include "sheet/QtText.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

class QLabel;
class QComboBox;
class QLineEdit;
class QWidget;

namespace ulvan {

inline constexpr const char16_t* kGothicP = u"ＭＳ Ｐゴシック";
inline constexpr const char16_t* kGothic = u"ＭＳ ゴシック";

// The installed face that stands for `face`, at a height of `pixelSize` pixels.
QFont UiFont(const QString& face, int pixelSize);
// The windows' default: "ＭＳ Ｐゴシック", 12 pixels.
QFont DefaultUiFont();

// A fixed-size dialog whose title bar has no close box.
void MakeFixedDialog(QDialog* dialog, const QString& caption, int clientWidth, int clientHeight);
// Puts the window's frame in the middle of the primary screen.
void CentreOnScreen(QWidget* window);

// A label at design coordinates; colour and font height only where they differ from the
// default (an invalid colour or pixelSize 0 keeps the default).
QLabel* PlaceLabel(QWidget* parent, const QString& text, int left, int top,
                   const QColor& colour = QColor(), int pixelSize = 0);
void SetTextColour(QWidget* widget, const QColor& colour);

// Shows the whole of `label`'s one-line text within the label's present width: in `font`
// when it fits, otherwise condensed (characters of the same height, narrower, as far as 60%),
// and only then smaller.
void FitTextToWidth(QLabel* label, const QFont& font);

// Limits what the user may type or paste into `edit` to `maxChars` characters (code points).
// Unlike QLineEdit::setMaxLength, text set by the program is kept whole, and a text already
// longer than the limit may still be shortened by the user.
void LimitUserInput(QLineEdit* edit, int maxChars);

// The western-year text that an era box and an era-year text stand for: empty when the era year
// is not an integer; nothing when no era item is selected (a text typed over the box's item is
// no selection), so the year field stays as it is.
std::optional<QString> WesternYearFromEra(const QComboBox& era, const QString& eraYear);

// Characters (code points) of a text.
qsizetype CharCount(const QString& text);

// A dialog that centres itself on the screen each time it is shown.
class CentredDialog : public QDialog {
    Q_OBJECT

public:
    explicit CentredDialog(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace ulvan
