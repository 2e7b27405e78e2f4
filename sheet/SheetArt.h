// The canopy (天蓋) drawn above the posthumous name and the lotus pedestal (蓮台) below it:
// black line art drawn as vectors at the surface's own resolution, so the printed page is as
// crisp at 1200 dpi as the preview is on the screen.
//
// Both pictures are drawn upright, as the reader sees them. On the paper the sheet is read
// turned a quarter turn clockwise, so the page takes them through TurnedPicture, which lays
// the upright art a quarter turn counter-clockwise into the paper's box.
#pragma once

#include "sheet/Canvas.h"

#include <QImage>

#include <functional>
#include <memory>
#include <mutex>

namespace ulvan {

// Line art that keeps its last raster rendering: on a raster surface (the preview, images)
// drawn without rotation or scaling, the art is rendered once per size and then copied, since
// the preview repaints it on every exposure and scroll step. Vector surfaces (PDF, printer)
// always receive the paths.
class CachedLineArt : public VectorPicture {
public:
    using VectorPicture::VectorPicture;
    void Paint(QPainter& painter, const QRectF& target) const final;

protected:
    // Draws the art into `target` with painter calls.
    virtual void Draw(QPainter& painter, const QRectF& target) const = 0;

private:
    mutable std::mutex m_mutex;
    mutable QImage m_cache;
};

// Upright canopy: nominal 320 × 220 (the paper box is 220 × 320 once turned).
class CanopyPicture final : public CachedLineArt {
public:
    CanopyPicture();

protected:
    void Draw(QPainter& painter, const QRectF& target) const override;
};

// Upright lotus pedestal: nominal 320 × 180 (the paper box is 180 × 320 once turned).
class LotusPicture final : public CachedLineArt {
public:
    LotusPicture();

protected:
    void Draw(QPainter& painter, const QRectF& target) const override;
};

// `upright` turned a quarter turn counter-clockwise: its Size() is the upright size with
// width and height exchanged, and it paints the upright picture so that it stands upright
// again when the page is turned clockwise for reading. Does not own `upright`.
class TurnedPicture final : public Picture {
public:
    explicit TurnedPicture(const Picture& upright);
    QString Name() const override;
    QSize Size() const override;
    void Paint(QPainter& painter, const QRectF& target) const override;

private:
    const Picture& m_upright;
};

// The two built-in pictures, created once.
const Picture& CanopyArt();
const Picture& LotusArt();

} // namespace ulvan
