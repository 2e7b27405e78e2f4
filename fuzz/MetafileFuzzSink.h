// Shared by fuzz_emf and fuzz_wmf: plays any bytes through the metafile reader onto a sink
// that checks what the footer's painter relies on.
#pragma once

#include "footer/MetafileReader.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace ulvan::fuzz {

inline void Require(bool condition) {
    if (!condition)
        std::abort();
}

// Every call within the picture's clamp, paths well formed, bitmaps within the limits, the
// work handed over within its bound.
class CheckingSink final : public MetafileSink {
public:
    explicit CheckingSink(const MetafileInfo& info) {
        const double span = std::max(info.Right - info.Left, info.Bottom - info.Top);
        m_low[0] = info.Left - 16 * span, m_high[0] = info.Right + 16 * span;
        m_low[1] = info.Top - 16 * span, m_high[1] = info.Bottom + 16 * span;
    }

    void DrawPath(const MetafilePath& path, const MetafilePen* pen, const MetafileBrush* brush,
                  MetafileFillRule) override {
        Require(pen || brush);
        std::size_t points = 0;
        for (const MetafilePath::Op op : path.Ops)
            points += op == MetafilePath::Op::CubicTo ? 3 : op == MetafilePath::Op::Close ? 0 : 1;
        Require(points == path.Points.size());
        Require(path.Ops.empty() || path.Ops.front() == MetafilePath::Op::MoveTo);
        for (const MetafilePoint& p : path.Points)
            Check(p);
        if (pen)
            Require(std::isfinite(pen->Width) && pen->Width >= 0);
        Take(path.Points.size() + 1);
    }
    void DrawText(const MetafileText& text) override {
        Require(!text.Text.empty() && text.Text.size() <= kMaxMetafileTextUnits);
        Require(text.Positions.empty() || text.Positions.size() == text.Text.size());
        for (const double p : text.Positions)
            Require(std::isfinite(p));
        Check(text.Origin);
        for (const double v :
             {text.XAxis.X, text.XAxis.Y, text.YAxis.X, text.YAxis.Y, text.Font.Height})
            Require(std::isfinite(v));
        Require(text.Font.Height > 0);
        Take(text.Text.size() * kMetafileTextCharacterPoints + 1);
    }
    void DrawBitmap(const MetafileBitmap& bitmap) override {
        Require(bitmap.Width > 0 && bitmap.Height > 0);
        Require(bitmap.Width <= kMaxMetafileBitmapSide && bitmap.Height <= kMaxMetafileBitmapSide);
        Require(std::int64_t{bitmap.Width} * bitmap.Height <= kMaxMetafileBitmapPixels);
        Require(bitmap.Pixels.size() ==
                static_cast<std::size_t>(bitmap.Width) * static_cast<std::size_t>(bitmap.Height));
        Check(bitmap.TopLeft);
        Check(bitmap.TopRight);
        Check(bitmap.BottomLeft);
        m_pixels += std::int64_t{bitmap.Width} * bitmap.Height;
        Require(m_pixels <= kMaxMetafileBitmapPixelsTotal);
        Take(1);
    }
    void SetClip(const std::vector<MetafileClipStep>& steps) override {
        Require(steps.size() <= kMaxMetafileClipSteps);
        std::size_t points = 1;
        for (const MetafileClipStep& step : steps) {
            for (const MetafilePoint& p : step.Area.Points)
                Check(p);
            points += step.Area.Points.size();
        }
        Require(points <= kMaxMetafileClipPoints);
        Take(points);
    }
    std::size_t Calls() const { return m_calls; }

private:
    void Check(const MetafilePoint& p) const {
        Require(std::isfinite(p.X) && std::isfinite(p.Y));
        Require(p.X >= m_low[0] && p.X <= m_high[0] && p.Y >= m_low[1] && p.Y <= m_high[1]);
    }
    void Take(std::size_t points) {
        ++m_calls;
        m_points += points;
        Require(m_points <= kMaxMetafileOutputPoints);
    }

    double m_low[2]{};
    double m_high[2]{};
    std::size_t m_points = 0;
    std::size_t m_calls = 0;
    std::int64_t m_pixels = 0;
};

// Plays `bytes`; a file whose header does not hold draws nothing and fails.
inline void PlayChecked(std::span<const std::uint8_t> bytes) {
    const std::optional<MetafileInfo> info = ReadMetafileInfo(bytes);
    if (!info) {
        MetafileInfo unit{MetafileFormat::Emf, 1, 1, 0, 0, 1, 1};
        CheckingSink sink(unit);
        Require(!PlayMetafile(bytes, sink));
        Require(sink.Calls() == 0);
        return;
    }
    Require(info->WidthMm > 0 && info->HeightMm > 0 && info->Right > info->Left &&
            info->Bottom > info->Top);
    CheckingSink sink(*info);
    PlayMetafile(bytes, sink);
}

} // namespace ulvan::fuzz
