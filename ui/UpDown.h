// A free-standing up-down control: two arrow buttons stacked, not bound to any field.
// Stepped(+1) for the up arrow and Stepped(-1) for the down arrow when pressed (repeating
// while held); Released() when the mouse button is let go over either arrow.
#pragma once

#include <QWidget>

class QToolButton;

namespace ulvan {

class UpDown : public QWidget {
    Q_OBJECT

public:
    explicit UpDown(QWidget* parent = nullptr);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

Q_SIGNALS:
    void Stepped(int delta);
    void Released();

private:
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace ulvan
