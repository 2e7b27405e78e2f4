// The era transition dialog: asked when a date of death falls in a year in which an era
// began and neither month nor day decides which era it belongs to. Created once and reused;
// the side chosen last stays down for the next question, so pressing OK at once repeats it.
#pragma once

#include "calendar/Era.h"
#include "ui/DialogSupport.h"

#include <cstddef>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace ulvan {

class TNengoForm : public CentredDialog {
    Q_OBJECT

public:
    explicit TNengoForm(QWidget* parent = nullptr);

    // Shows the question for the transition into entry `newEraIndex` of NengoList() and
    // returns the side that is down when the dialog closes. An index that names no
    // transition (the first entry, or past the end) asks nothing and gives None.
    EraChoice Ask(std::size_t newEraIndex);

    // WarekiOf's question, asked through this dialog; the dialog must outlive the callback.
    AskEraTransition Asker();

    // Fills the texts for the transition into `newEraIndex` without showing the dialog;
    // false when the index names no transition.
    bool Prepare(std::size_t newEraIndex);
    // The side down now.
    EraChoice Choice() const;

    // How Ask runs the prepared dialog; exec() unless replaced (tests, scripted use).
    using Runner = std::function<void(TNengoForm&)>;
    void SetRunner(Runner runner) { m_runner = std::move(runner); }

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QPushButton* Button1 = nullptr;

private:
    void PlaceEraLine();

    QButtonGroup* m_sides = nullptr;
    Runner m_runner;
};

} // namespace ulvan
