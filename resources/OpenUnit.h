// The start-up picture: a borderless window that stands on top in the middle of the screen
// while the main window loads its settings, and the emblem it shares with the about box.
#pragma once

#include <QIcon>
#include <QImage>
#include <QWidget>

class QPainter;
class QRectF;

namespace ulvan {

inline constexpr int kOpenPictureWidth = 300;
inline constexpr int kOpenPictureHeight = 260;

// The whole start-up picture, 300 x 260 pixels.
QImage OpenPicture();

// A lotus flower fitted into `box`; drawn by program, no picture file.
void DrawLotusEmblem(QPainter& painter, const QRectF& box);

// The program's window icon: the emblem on a light ground, at the usual icon sizes.
QIcon ApplicationIcon();

class TOpenForm : public QWidget {
    Q_OBJECT

public:
    explicit TOpenForm(QWidget* parent = nullptr);

    // Shows the window in the middle of the screen and paints it at once, before the caller
    // goes on with work that keeps the event loop waiting.
    void ShowNow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace ulvan
