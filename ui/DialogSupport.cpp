#include "ui/DialogSupport.h"

#include "calendar/Era.h"
#include "calendar/TextUtil.h"
#include "sheet/Fonts.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QValidator>

#include <algorithm>

namespace ulvan {

namespace {

// Refuses an edit that makes the text longer than the limit, but only when it also grows
// the text: a longer text put there by the program may still be shortened by typing.
// The validator is not consulted for setText, so program writes always pass whole.
class LengthLimit : public QValidator {
public:
    LengthLimit(QLineEdit* edit, int maxChars)
        : QValidator(edit)
        , m_max(maxChars)
        , m_current(CharCount(edit->text())) {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_current = CharCount(text); });
    }

    State validate(QString& input, int& /*pos*/) const override {
        const qsizetype length = CharCount(input);
        return (length > m_max && length > m_current) ? Invalid : Acceptable;
    }

private:
    qsizetype m_max;
    qsizetype m_current;
};

} // namespace

QFont UiFont(const QString& face, int pixelSize) {
    QFont font(ResolveFace(face));
    font.setPixelSize(pixelSize);
    return font;
}

QFont DefaultUiFont() {
    return UiFont(ToQ(kGothicP), 12);
}

void MakeFixedDialog(QDialog* dialog, const QString& caption, int clientWidth, int clientHeight) {
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->setFixedSize(clientWidth, clientHeight);
    dialog->setFont(DefaultUiFont());
    dialog->setModal(true);
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

QLabel* PlaceLabel(QWidget* parent, const QString& text, int left, int top, const QColor& colour,
                   int pixelSize) {
    auto* label = new QLabel(text, parent);
    if (pixelSize > 0) {
        label->setFont(UiFont(parent->font().family(), pixelSize));
    }
    if (colour.isValid()) {
        SetTextColour(label, colour);
    }
    label->adjustSize();
    label->move(left, top);
    return label;
}

void FitTextToWidth(QLabel* label, const QFont& font) {
    constexpr int kMinStretch = 60;
    constexpr int kMinPixels = 6;
    const QMargins margins = label->contentsMargins();
    const double room = label->width() - margins.left() - margins.right() - 2 * label->margin();
    const auto fits = [label, room](const QFont& candidate) {
        return QFontMetricsF(candidate, label).horizontalAdvance(label->text()) <= room;
    };
    QFont fitted = font;
    if (!fits(fitted)) {
        // Condensed first: the estimate from the full width, then step by step, since glyph
        // widths round at each stretch.
        const double full = QFontMetricsF(font, label).horizontalAdvance(label->text());
        int stretch = std::clamp(static_cast<int>(100.0 * room / full), kMinStretch, 100);
        fitted.setStretch(stretch);
        while (!fits(fitted) && stretch > kMinStretch) {
            fitted.setStretch(--stretch);
        }
        int pixels = font.pixelSize();
        while (!fits(fitted) && pixels > kMinPixels) {
            fitted.setPixelSize(--pixels);
        }
    }
    label->setFont(fitted);
}

void LimitUserInput(QLineEdit* edit, int maxChars) {
    edit->setValidator(new LengthLimit(edit, maxChars));
}

qsizetype CharCount(const QString& text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())) {
            ++count;
        }
    }
    return count;
}

CentredDialog::CentredDialog(QWidget* parent)
    : QDialog(parent) {}

void CentredDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

std::optional<QString> WesternYearFromEra(const QComboBox& era, const QString& eraYear) {
    const std::optional<std::int32_t> year = ParseInt(ToU16(eraYear));
    if (!year) {
        return QString();
    }
    int index = era.currentIndex();
    if (index >= 0 && era.itemText(index) != era.currentText()) {
        index = -1;
    }
    if (const std::optional<std::int64_t> western = WesternYearOf(index, *year)) {
        return ToQ(DecimalText(*western));
    }
    return std::nullopt;
}

} // namespace ulvan
