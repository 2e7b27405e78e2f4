// Drives modal windows from a test: the action runs on the next modal window that opens
// while the code under test sits in exec(), then usually closes it.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace ulvan {

// Arms a poll (every 10 ms, for at most `timeoutMs`, generous for a loaded machine) for a
// visible modal widget, other than the one active now, that `accepts`; runs `action` on it
// once. A window that does not fit (a dialog of the row before that is still closing, say)
// is waited past, not taken. When none fits in time the running test fails, naming the
// windows it saw, and the modal window then open is closed so that the test can end.
void WhenModalMatching(std::function<bool(QWidget*)> accepts, std::function<void(QWidget*)> action,
                       const QString& wanted, int timeoutMs = 30000);

// Any modal window.
void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 30000);

// A modal window of type T (qobject_cast), and with the caption `title` when one is given.
template <class T>
void WhenModalOf(std::function<void(T*)> action, int timeoutMs = 30000,
                 const QString& title = QString()) {
    WhenModalMatching(
        [title](QWidget* widget) {
            return qobject_cast<T*>(widget) != nullptr &&
                   (title.isEmpty() || widget->windowTitle() == title);
        },
        [action = std::move(action)](QWidget* widget) { action(qobject_cast<T*>(widget)); },
        QString::fromLatin1(T::staticMetaObject.className()) +
            (title.isEmpty() ? QString() : QStringLiteral(" '") + title + QLatin1Char('\'')),
        timeoutMs);
}

} // namespace ulvan
