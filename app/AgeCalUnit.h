// The age calculator: from a year of birth, given as era and era year or as a western year,
// the age in the year of death in three conventions. The two sides keep each other in step
// through their change events; since a text is only written when it differs, one exchange
// brings them to rest.
#pragma once

#include "ui/DialogSupport.h"

#include <cstdint>
#include <optional>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ulvan {

class MessageSink;

class TAgeCalForm : public CentredDialog {
    Q_OBJECT

public:
    explicit TAgeCalForm(QWidget* parent = nullptr);

    // The main window's part of the calculation: resets the dialog, computes for `keisanNen`,
    // shows the dialog modally and returns the age of the chosen convention on OK; nullopt on
    // Cancel or when no convention was chosen.
    std::optional<QString> Calc(std::int32_t keisanNen);

    // Empties every field, selects "－－" and clears the choice.
    void Reset();
    // The year of death the ages refer to.
    void SetKeisanNen(std::int32_t year) { m_keisanNen = year; }
    std::int32_t KeisanNen() const { return m_keisanNen; }
    // The text of the age field of the chosen convention; nullopt when none is chosen.
    std::optional<QString> ChosenAge() const;

    QGroupBox* GroupBox1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit1 = nullptr; // era year of birth
    QLineEdit* Edit2 = nullptr; // western year of birth
    QGroupBox* GroupBox2 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QLineEdit* Edit3 = nullptr; // counting age
    QRadioButton* RadioButton2 = nullptr;
    QLineEdit* Edit4 = nullptr; // full years, birthday not yet reached
    QRadioButton* RadioButton3 = nullptr;
    QLineEdit* Edit5 = nullptr; // full years, birthday passed
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label4 = nullptr;

private:
    void EraSideChanged();
    void WesternSideChanged();

    QButtonGroup* m_conventions = nullptr;
    std::int32_t m_keisanNen = 0;
};

// The year the ages refer to: the main window's western year of death, or, when that is not
// an integer, the current year after telling the user so through `messages`.
std::int32_t AgeReferenceYear(const QString& westernYearOfDeath, std::int32_t currentYear,
                              MessageSink& messages);

} // namespace ulvan
