// Drawing the footer layout on its three surfaces: the footer editor's drawing area and the
// print preview (both in the reading orientation) and the printed page (portrait, read
// after a quarter turn clockwise). All three agree: what the editor shows in its strip is
// what the sheet shows in its footer strip.
//
// Callers: the footer editor (its paint handler), the preview and the print routines of the
// memorial sheet and of the annual chart. Drawing may write one thing into the layout: a
// picture frame whose file cannot be loaded gets the kind "Non".
#pragma once

#include "calendar/Messages.h"
#include "footer/FooterModel.h"
#include "sheet/Canvas.h"

#include <QHash>
#include <QImage>
#include <QString>

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace ulvan {

enum class FooterTargetKind {
    Editor,  // the editor's drawing area: Width x Height pixels, frame outlines drawn
    Preview, // the preview's sheet picture, landscape: Width x Height pixels
    Page,    // the printer page: physical width and height, and the physical offsets
};

struct FooterTarget {
    FooterTargetKind Kind = FooterTargetKind::Editor;
    int Width = 0;
    int Height = 0;
    int OffsetX = 0; // page only: the printable area's corner on the paper
    int OffsetY = 0;

    static FooterTarget Editor(int width, int height) {
        return {FooterTargetKind::Editor, width, height, 0, 0};
    }
    static FooterTarget Preview(int width, int height) {
        return {FooterTargetKind::Preview, width, height, 0, 0};
    }
    static FooterTarget Page(int physicalWidth, int physicalHeight, int offsetX, int offsetY) {
        return {FooterTargetKind::Page, physicalWidth, physicalHeight, offsetX, offsetY};
    }
};

inline constexpr std::u16string_view kFooterIncompleteMessage =
    u"寺院名等の編集の入力が不完全です。";
inline constexpr std::u16string_view kFooterUnreadableMessage =
    u"画像データが読み込み不能となっています";
inline constexpr std::u16string_view kFooterLoadFailedMessage =
    u"グラフィックファイルを読み込めませんでした";

// One drawing request: a print job, or one showing of the preview with all its repaints.
// Each message is shown at most once per frame and request, so that the repaint a closed
// message box causes does not raise the same message again; a new request (the next print
// job, the next showing of the preview) tells again. The editor may use a fresh request for
// every paint: its one message also marks the frame "Non", which ends the repetition.
// Pictures loaded during the request are kept for its repaints.
class FooterDrawRequest {
public:
    explicit FooterDrawRequest(MessageSink* messages = nullptr)
        : m_messages(messages) {}

    // Shows `text` for `frame` (after a beep, when one is given) unless this request has
    // shown it for that frame already.
    void Report(std::size_t frame, std::u16string_view text,
                std::optional<BeepKind> beep = std::nullopt);
    // The picture at `path`, loaded once per request; a null image when it cannot be read.
    const QImage& Picture(const QString& path);

private:
    MessageSink* m_messages;
    std::set<std::pair<std::size_t, std::u16string>> m_shown;
    QHash<QString, QImage> m_pictures;
};

// Draws every frame in layout order (a later frame over an earlier one). The editor's
// selection handles are the editor's own business.
void DrawFooter(Canvas& canvas, const FooterTarget& target, FooterLayout& layout,
                FooterDrawRequest& request);
// Draws one frame; does nothing for an index past the end.
void DrawFooterFrame(Canvas& canvas, const FooterTarget& target, FooterLayout& layout,
                     std::size_t frame, FooterDrawRequest& request);

// Loads a footer picture, the format chosen by the file name's extension (case-insensitive):
// bmp, ico, tif, tiff, png, jpg, jpeg. Metafiles (emf, wmf) and anything else, a missing or
// broken file, and a picture too large to hold safely give a null image.
QImage LoadFooterPicture(const QString& path);
// Pixels beyond which a footer picture is refused (also each side on its own).
inline constexpr qint64 kMaxFooterPicturePixels = 40'000'000;
inline constexpr int kMaxFooterPictureSide = 20'000;

// The picture turned a quarter turn counter-clockwise: ph wide, pw high, its pixel (x, y)
// being the original's (pw - 1 - y, x).
QImage TurnCounterClockwise(const QImage& image);

} // namespace ulvan
