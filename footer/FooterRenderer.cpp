#include "footer/FooterRenderer.h"

#include "sheet/QtText.h"

#include <QSet>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace ulvan {

namespace {

constexpr double kUnits = 10000.0;
// The footer strip on the sheet, as fractions of the sheet in the reading orientation.
constexpr double kStripWidth = 0.1448;
constexpr double kStripLeft = 0.0674;
constexpr double kStripHeight = 0.7619;
constexpr double kStripTop = 0.119;
// On the portrait page the strip's left edge lies at this fraction of the page height.
constexpr double kPageStripBottom = 0.7878;

// Canvas coordinates stay far inside the int range, so that differences of two of them
// never overflow whatever a hand-edited layout holds.
int Coord(std::int64_t value) {
    constexpr std::int64_t kLimit = std::int64_t{1} << 30;
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

struct FrameBox {
    // Editor and preview: the corners in the reading orientation.
    std::int64_t Lx = 0, Ty = 0, Rx = 0, By = 0;
    // Page: I and K are the page x of Top and Bottom, J and Ly the page y of Right and Left.
    std::int64_t I = 0, K = 0, J = 0, Ly = 0;
};

FrameBox MapBox(const FooterTarget& target, std::int32_t left, std::int32_t top, std::int32_t right,
                std::int32_t bottom) {
    const double W = target.Width;
    const double H = target.Height;
    FrameBox box;
    switch (target.Kind) {
    case FooterTargetKind::Editor: {
        const auto x = [W](std::int32_t u) { return RoundHalfEven(u / kUnits * W); };
        const auto y = [H](std::int32_t v) { return RoundHalfEven(v / kUnits * H); };
        box.Lx = x(left), box.Ty = y(top), box.Rx = x(right), box.By = y(bottom);
        break;
    }
    case FooterTargetKind::Preview: {
        const auto x = [W](std::int32_t u) {
            return RoundHalfEven((u / kUnits * kStripWidth + kStripLeft) * W);
        };
        const auto y = [H](std::int32_t v) {
            return RoundHalfEven((v / kUnits * kStripHeight + kStripTop) * H);
        };
        box.Lx = x(left), box.Ty = y(top), box.Rx = x(right), box.By = y(bottom);
        break;
    }
    case FooterTargetKind::Page: {
        const auto pageX = [W](std::int32_t v) {
            return RoundHalfEven((v / kUnits * kStripHeight + kStripTop) * W);
        };
        const auto pageY = [H](std::int32_t u) {
            return RoundHalfEven(((1 - u / kUnits) * kStripWidth + kPageStripBottom) * H);
        };
        box.I = pageX(top), box.K = pageX(bottom), box.J = pageY(right), box.Ly = pageY(left);
        break;
    }
    }
    return box;
}

struct TextMetrics {
    double h = 0;       // font height (editor, preview: not rounded)
    double s = 0;       // spacing
    std::int64_t N = 0; // page: font height
    std::int64_t O = 0; // page: spacing
};

TextMetrics MapText(const FooterTarget& target, std::int32_t fontHeight, std::int32_t spacing) {
    const double W = target.Width;
    const double H = target.Height;
    TextMetrics m;
    switch (target.Kind) {
    case FooterTargetKind::Editor:
        m.h = fontHeight / kUnits * W;
        m.s = spacing / kUnits * H;
        break;
    case FooterTargetKind::Preview:
        m.h = fontHeight / kUnits * kStripWidth * W;
        m.s = spacing / kUnits * kStripHeight * H;
        break;
    case FooterTargetKind::Page:
        m.N = RoundHalfEven(fontHeight / kUnits * kStripWidth * H);
        m.O = RoundHalfEven(spacing / kUnits * kStripHeight * W);
        break;
    }
    return m;
}

FontSpec MakeFont(const std::u16string& face, bool vertical, std::int64_t cellHeight, bool bold,
                  int escapement) {
    FontSpec font;
    font.Face = (vertical ? QStringLiteral("@") : QString()) + ToQ(face);
    font.CellHeight = Coord(cellHeight);
    font.Weight = bold ? 700 : 400;
    font.Escapement = escapement;
    return font;
}

// Saturating arithmetic for positions built from hand-editable numbers.
std::int64_t Mul(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r)) {
        return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                                  : std::numeric_limits<std::int64_t>::max();
    }
    return r;
}

std::int64_t Add(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r)) {
        return b < 0 ? std::numeric_limits<std::int64_t>::min()
                     : std::numeric_limits<std::int64_t>::max();
    }
    return r;
}

// Whether a character cell at (x, y) can touch the target at all: anything more than two
// cells beyond its edges, in any direction the cell may extend, is skipped.
bool MayShow(const FooterTarget& target, std::int64_t x, std::int64_t y, std::int64_t cell) {
    const std::int64_t margin = Mul(std::max<std::int64_t>(cell, 1), 2);
    return x >= -margin && y >= -margin && x <= Add(target.Width, margin) &&
           y <= Add(target.Height, margin);
}

// The part of a frame's text that is laid out.
std::u16string_view DrawnText(std::u16string_view content) {
    return LeadingCharacters(content, kMaxFooterTextCharacters);
}

const std::u16string_view kFullWidthHyphen = u"－";

void DrawVertical(Canvas& canvas, const FooterTarget& target, const FrameBox& box,
                  const TextMetrics& m, const std::u16string& face, bool bold,
                  std::u16string_view content) {
    const bool page = target.Kind == FooterTargetKind::Page;
    const std::int64_t cell = page ? m.N : RoundHalfEven(m.h);
    const int escapement = page ? 0 : 2700;
    const FontSpec vertical = MakeFont(face, true, cell, bold, escapement);
    const FontSpec plain = MakeFont(face, false, cell, bold, escapement);
    canvas.SetFont(vertical);
    bool verticalSelected = true;
    std::int64_t k = 1;
    for (const std::u16string_view character : FooterCharacters(DrawnText(content))) {
        // The vertical variant turns the full-width hyphen across the column; the plain
        // face lays it along the column, as a dash in vertical writing runs.
        const bool wantVertical = character != kFullWidthHyphen;
        if (wantVertical != verticalSelected) {
            canvas.SetFont(wantVertical ? vertical : plain);
            verticalSelected = wantVertical;
        }
        const double step = static_cast<double>(k - 1);
        std::int64_t x = 0;
        std::int64_t y = 0;
        switch (target.Kind) {
        case FooterTargetKind::Editor:
            x = box.Rx - 1;
            y = Add(box.Ty + 1, RoundHalfEven(step * m.h + step * m.s));
            break;
        case FooterTargetKind::Preview:
            x = box.Rx;
            y = Add(box.Ty, RoundHalfEven(step * m.h + step * m.s));
            break;
        case FooterTargetKind::Page:
            x = Add(Add(box.I, Mul(k - 1, Add(m.N, m.O))), -std::int64_t{target.OffsetX});
            y = box.J - target.OffsetY;
            break;
        }
        ++k;
        if (!MayShow(target, x, y, cell)) {
            continue;
        }
        canvas.TextOut(Coord(x), Coord(y), ToQView(character));
    }
}

void DrawHorizontal(Canvas& canvas, const FooterTarget& target, const FrameBox& box,
                    const TextMetrics& m, const std::u16string& face, bool bold,
                    std::u16string_view content) {
    const bool page = target.Kind == FooterTargetKind::Page;
    const std::int64_t cell = page ? m.N : RoundHalfEven(m.h);
    canvas.SetFont(MakeFont(face, false, cell, bold, page ? 900 : 0));
    // k counts width units (a full-width character takes two, each half the font height
    // long), g counts glyphs (each step adds the spacing); both start afresh in every frame.
    std::int64_t k = 1;
    std::int64_t g = 1;
    for (const std::u16string_view character : FooterCharacters(DrawnText(content))) {
        const double units = static_cast<double>(k - 1);
        const double glyphs = static_cast<double>(g - 1);
        std::int64_t x = 0;
        std::int64_t y = 0;
        switch (target.Kind) {
        case FooterTargetKind::Editor:
            x = Add(box.Lx + 1, RoundHalfEven(m.h / 2 * units + glyphs * m.s));
            y = box.Ty + 1;
            break;
        case FooterTargetKind::Preview:
            x = Add(box.Lx, RoundHalfEven(m.h / 2 * units + glyphs * m.s));
            y = box.Ty;
            break;
        case FooterTargetKind::Page: {
            const double n = static_cast<double>(m.N);
            const double o = static_cast<double>(m.O);
            x = box.I - target.OffsetX;
            y = Add(Add(box.Ly, -RoundHalfEven(n / 2 * units + glyphs * o)),
                    -std::int64_t{target.OffsetY});
            break;
        }
        }
        k += FooterUnitWidth(FooterCodePoint(character));
        ++g;
        if (!MayShow(target, x, y, cell)) {
            continue;
        }
        canvas.TextOut(Coord(x), Coord(y), ToQView(character));
    }
}

QSet<QString>& UnreadablePictures() {
    static QSet<QString> paths;
    return paths;
}

// A picture that cannot be drawn: the load message; a file that cannot be read (as opposed
// to a drawing that ran out of budget) is marked for the rest of the run once this drawing
// ends, so that every frame naming it in this drawing gets the same message.
void PictureFailed(const QString& path, std::size_t frame, FooterDrawRequest& request,
                   bool markFile) {
    request.Report(frame, kFooterLoadFailedMessage, BeepKind::Default);
    if (markFile) {
        request.MarkUnreadable(path);
    }
}

void DrawPicture(Canvas& canvas, const FooterTarget& target, const FrameBox& box,
                 const FooterLayout& layout, std::size_t frame, FooterDrawRequest& request) {
    const QString path = ToQ(layout.Field(frame, FooterField::Content));
    // The picture's own size decides the proportions, whatever size it is decoded at.
    const QSize own = request.PictureSize(path);
    if (!own.isValid()) {
        PictureFailed(path, frame, request, true);
        return;
    }
    const bool fixed = layout.Field(frame, FooterField::Kind) == kFooterPictureFixed;
    std::int64_t x1 = 0;
    std::int64_t y1 = 0;
    std::int64_t x2 = 0;
    std::int64_t y2 = 0;
    const bool turned = target.Kind == FooterTargetKind::Page;
    if (!turned) {
        const double pw = own.width();
        const double ph = own.height();
        const auto bw = static_cast<double>(box.Rx - box.Lx - 2);
        const auto bh = static_cast<double>(box.By - box.Ty - 2);
        x1 = box.Lx + 1;
        y1 = box.Ty + 1;
        x2 = box.Rx - 1;
        y2 = box.By - 1;
        if (fixed) {
            if (bw / bh >= pw / ph) {
                x1 = box.Rx - 1 - RoundHalfEven(pw / ph * bh);
            } else {
                y2 = box.Ty + 1 + RoundHalfEven(ph / pw * bw);
            }
        }
    } else {
        // The page gets the picture turned a quarter turn: ph wide, pw high.
        const double w2 = own.height();
        const double h2 = own.width();
        const auto bx = static_cast<double>(box.K - box.I - 2);
        const auto by = static_cast<double>(box.Ly - box.J - 2);
        auto width = static_cast<std::int64_t>(bx);
        auto height = static_cast<std::int64_t>(by);
        if (fixed) {
            if (bx / by >= w2 / h2) {
                width = RoundHalfEven(w2 / h2 * by);
            } else {
                height = RoundHalfEven(h2 / w2 * bx);
            }
        }
        x1 = box.I + 1 - target.OffsetX;
        y1 = box.J + 1 - target.OffsetY;
        x2 = Add(x1, width);
        y2 = Add(y1, height);
    }
    const int cx1 = Coord(x1);
    const int cy1 = Coord(y1);
    const int cx2 = Coord(x2);
    const int cy2 = Coord(y2);
    const auto extent = [](int a, int b) {
        return static_cast<int>(
            std::min<std::int64_t>(std::abs(std::int64_t{b} - a), std::numeric_limits<int>::max()));
    };
    bool overBudget = false;
    const std::shared_ptr<const Picture> picture =
        request.PreparePicture(path, QSize(extent(cx1, cx2), extent(cy1, cy2)), turned, overBudget);
    if (!picture) {
        PictureFailed(path, frame, request, !overBudget);
        return;
    }
    canvas.StretchPicture(*picture, cx1, cy1, cx2, cy2);
    if (PaintStoppedEarly(*picture)) {
        PictureFailed(path, frame, request, true);
    }
}

} // namespace

FooterDrawRequest::FooterDrawRequest(MessageSink* messages, std::int64_t budgetBytes)
    : m_messages(messages)
    , m_budgetBytes(budgetBytes)
    , m_budget(budgetBytes) {}

FooterDrawRequest::~FooterDrawRequest() = default;

void FooterDrawRequest::BeginDrawing() {
    if (m_drawing) {
        EndDrawing();
    }
    m_drawing = true;
    m_failures.clear();
    m_budget = FooterPictureBudget(m_budgetBytes);
}

void FooterDrawRequest::Report(std::size_t frame, std::u16string_view text,
                               std::optional<BeepKind> beep) {
    auto it = std::find_if(m_failures.begin(), m_failures.end(),
                           [text](const Failure& f) { return f.Text == text; });
    if (it == m_failures.end()) {
        it = m_failures.insert(m_failures.end(), Failure{std::u16string(text), {}, false, {}});
    }
    it->Frames.insert(frame);
    if (beep) {
        it->Beep = true;
        it->BeepKindToSound = *beep;
    }
}

void FooterDrawRequest::MarkUnreadable(const QString& path) {
    m_unreadable.insert(path);
}

void FooterDrawRequest::EndDrawing() {
    m_drawing = false;
    // Marked before anything is shown: a repaint under a message box draws them as marked.
    for (const QString& path : m_unreadable) {
        MarkPictureUnreadable(path);
    }
    m_unreadable.clear();
    // Taken out first: a message box may let a repaint start the next drawing.
    const std::vector<Failure> failures = std::move(m_failures);
    m_failures.clear();
    for (const Failure& failure : failures) {
        if (!m_shown.insert(failure.Text).second || m_messages == nullptr) {
            continue;
        }
        if (failure.Beep) {
            m_messages->Beep(failure.BeepKindToSound);
        }
        m_messages->ShowMessage(FooterMessageWithCount(failure.Text, failure.Frames.size()));
    }
}

QSize FooterDrawRequest::PictureSize(const QString& path) {
    auto it = m_sizes.find(path);
    if (it == m_sizes.end()) {
        const std::unique_ptr<FooterPictureSource> source = OpenFooterPicture(path);
        it = m_sizes.emplace(path, source ? source->Size() : QSize()).first;
    }
    return it->second;
}

std::shared_ptr<const Picture> FooterDrawRequest::PreparePicture(const QString& path, QSize drawn,
                                                                 bool turned, bool& overBudget) {
    overBudget = false;
    const CacheKey key{path, drawn.width(), drawn.height(), turned};
    if (const auto it = m_cache.find(key); it != m_cache.end()) {
        return it->second;
    }
    const std::unique_ptr<FooterPictureSource> source = OpenFooterPicture(path);
    if (!source) {
        return nullptr;
    }
    const std::int64_t cost = source->Cost(drawn, turned);
    if (!m_budget.Take(cost)) {
        overBudget = true;
        return nullptr;
    }
    std::shared_ptr<const Picture> picture = source->Prepare(drawn, turned);
    if (!picture) {
        return nullptr;
    }
    // Kept for the repaints while the kept pictures stay within one drawing's budget.
    const std::int64_t bytes = picture->HeldBytes();
    if (m_cachedBytes + bytes > m_budgetBytes) {
        m_cache.clear();
        m_cachedBytes = 0;
    }
    if (bytes <= m_budgetBytes) {
        m_cache.emplace(key, picture);
        m_cachedBytes += bytes;
    }
    return picture;
}

std::u16string FooterMessageWithCount(std::u16string_view text, std::size_t frames) {
    std::u16string message(text);
    if (frames > 1) {
        const std::string count = std::to_string(frames);
        message += u"（";
        message.append(count.begin(), count.end());
        message += u" 枠）";
    }
    return message;
}

void MarkPictureUnreadable(const QString& path) {
    UnreadablePictures().insert(path);
}

bool IsPictureMarkedUnreadable(const QString& path) {
    return UnreadablePictures().contains(path);
}

void ForgetUnreadablePicture(const QString& path) {
    UnreadablePictures().remove(path);
}

void ForgetUnreadablePictures() {
    UnreadablePictures().clear();
}

std::u16string FooterKindForRun(const FooterLayout& layout, std::size_t frame) {
    const std::u16string& kind = layout.Field(frame, FooterField::Kind);
    if ((kind == kFooterPictureFixed || kind == kFooterPictureStretch) &&
        IsPictureMarkedUnreadable(ToQ(layout.Field(frame, FooterField::Content)))) {
        return std::u16string(kFooterUnreadable);
    }
    return kind;
}

void DrawFooter(Canvas& canvas, const FooterTarget& target, const FooterLayout& layout,
                FooterDrawRequest& request) {
    request.BeginDrawing();
    for (std::size_t frame = 0; frame < layout.FrameCount(); ++frame) {
        DrawFooterFrame(canvas, target, layout, frame, request);
    }
    request.EndDrawing();
}

void DrawFooterFrame(Canvas& canvas, const FooterTarget& target, const FooterLayout& layout,
                     std::size_t frame, FooterDrawRequest& request) {
    if (frame >= layout.FrameCount()) {
        return;
    }
    if (!request.Drawing()) {
        request.BeginDrawing();
        DrawFooterFrame(canvas, target, layout, frame, request);
        request.EndDrawing();
        return;
    }
    const bool editor = target.Kind == FooterTargetKind::Editor;
    const auto left = FooterNumber(layout, frame, FooterField::Left);
    const auto top = FooterNumber(layout, frame, FooterField::Top);
    const auto right = FooterNumber(layout, frame, FooterField::Right);
    const auto bottom = FooterNumber(layout, frame, FooterField::Bottom);
    if (!left || !top || !right || !bottom) {
        // Without its rectangle the frame has no place: after telling the user, draw nothing.
        if (!editor) {
            request.Report(frame, kFooterIncompleteMessage);
        }
        return;
    }
    const FrameBox box = MapBox(target, *left, *top, *right, *bottom);
    if (editor) {
        canvas.FocusRect(Coord(box.Lx), Coord(box.Ty), Coord(box.Rx), Coord(box.By));
    }
    const std::u16string kind = FooterKindForRun(layout, frame);
    if (kind == kFooterUnreadable) {
        if (!editor) {
            request.Report(frame, kFooterUnreadableMessage);
        }
        return;
    }
    if (kind == kFooterVertical || kind == kFooterHorizontal) {
        auto fontHeight = FooterNumber(layout, frame, FooterField::FontHeight);
        auto spacing = FooterNumber(layout, frame, FooterField::Spacing);
        if (!fontHeight || !spacing) {
            if (editor) {
                return;
            }
            fontHeight = 0;
            spacing = 0;
        }
        const TextMetrics m = MapText(target, *fontHeight, *spacing);
        const std::u16string& face = layout.Field(frame, FooterField::FontFace);
        const bool bold = layout.Field(frame, FooterField::Bold) == kFooterBold;
        const std::u16string& content = layout.Field(frame, FooterField::Content);
        if (kind == kFooterVertical) {
            DrawVertical(canvas, target, box, m, face, bold, content);
        } else {
            DrawHorizontal(canvas, target, box, m, face, bold, content);
        }
        return;
    }
    if (kind == kFooterPictureFixed || kind == kFooterPictureStretch) {
        DrawPicture(canvas, target, box, layout, frame, request);
    }
}

} // namespace ulvan
