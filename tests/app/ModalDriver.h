// Drives modal windows from a test: the action runs on the next modal window that opens
// while the code under test sits in exec(), then usually closes it.
#pragma once

#include <QWidget>

#include <functional>

namespace ulvan {

// Arms a poll (every 10 ms, for at most `timeoutMs`, generous for a loaded machine) for a modal
// widget other than the one active now; runs `action` on it once. When none opens in time the
// running test fails.
void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 30000);

// Fails the running test, naming the window that opened instead of the expected one.
void ReportWrongModal(QWidget* widget);

// The same for a modal window of type T (qobject_cast); another modal window that opens first
// fails the test.
template <class T> void WhenModalOf(std::function<void(T*)> action, int timeoutMs = 30000) {
    WhenModal(
        [action = std::move(action)](QWidget* widget) {
            T* typed = qobject_cast<T*>(widget);
            if (typed == nullptr) {
                ReportWrongModal(widget);
                widget->close();
                return;
            }
            action(typed);
        },
        timeoutMs);
}

} // namespace ulvan
