#include "ui/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace ulvan {

UpDown::UpDown(QWidget* parent)
    : QWidget(parent)
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setIconSize(QSize(7, 4));
        layout->addWidget(button);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName(QStringLiteral("Up"));
    m_down->setObjectName(QStringLiteral("Down"));
    // A step happens on the press, as the arrow goes down, and again on every repetition
    // while it is held; the release comes after the last step.
    connect(m_up, &QToolButton::pressed, this, [this] { Q_EMIT Stepped(1); });
    connect(m_down, &QToolButton::pressed, this, [this] { Q_EMIT Stepped(-1); });
    // Auto-repeat emits released() for every repetition with the button still down; only
    // the real release counts.
    connect(m_up, &QToolButton::released, this, [this] {
        if (!m_up->isDown()) {
            Q_EMIT Released();
        }
    });
    connect(m_down, &QToolButton::released, this, [this] {
        if (!m_down->isDown()) {
            Q_EMIT Released();
        }
    });
}

} // namespace ulvan
