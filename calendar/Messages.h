// How the engine and the renderers report to the user without knowing about windows.
// The application implements this (message boxes, beeps); tests record the calls.
#pragma once

#include <string_view>

namespace ulvan {

enum class BeepKind {
    Default,     // refused input, unreadable picture
    Exclamation, // precedes a warning or a confirmation question
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A plain message box with one OK button, centred on the screen.
    virtual void ShowMessage(std::u16string_view text) = 0;
    virtual void Beep(BeepKind kind) = 0;
};

} // namespace ulvan
