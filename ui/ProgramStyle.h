// The style every window of the program is drawn in: the platform's own, except for the
// picture of the extension button that menu and tool bars carry for items that do not fit.
// That button never shows in the program's fixed-size windows, but the bars ask for its
// picture when they are made, and the platform style loads it from an image file, which
// loads every image-format plugin of the system before the main window can show. Here it is
// drawn by program instead.
#pragma once

#include <QProxyStyle>

namespace ulvan {

class ProgramStyle : public QProxyStyle {
public:
    // Wraps the application's default style.
    ProgramStyle();

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace ulvan
