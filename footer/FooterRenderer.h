// Drawing the footer layout on its three surfaces: the footer editor's drawing area and the
// print preview (both in the reading orientation) and the printed page (portrait, read
// after a quarter turn clockwise). All three agree: what the editor shows in its strip is
// what the sheet shows in its footer strip.
//
// Callers: the footer editor (its paint handler), the preview and the print routines of the
// memorial sheet and of the annual chart. Drawing never changes the layout: a picture frame
// whose file cannot be loaded is marked unreadable for the rest of the run only (see
// FooterKindForRun), so that the layout stored at close keeps the frame's own kind and the
// picture draws again at the next start once its file is back.
#pragma once

#include "calendar/Messages.h"
#include "footer/FooterModel.h"
#include "footer/FooterPicture.h"
#include "sheet/Canvas.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

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
// Each drawing of the footer (one DrawFooter call) collects the frames that failed and then
// shows each of the three messages at most once, followed by the number of frames when more
// than one failed; a message this request has shown already is not shown again, so that the
// repaint a closed message box causes does not raise it again. A new request (the next print
// job, the next showing of the preview) tells again.
//
// Pictures are decoded at the size they are drawn at, within a budget per drawing; the
// decoded pictures stay with the request for its repaints while they fit in that budget.
class FooterDrawRequest {
public:
    // `budgetBytes`: what each drawing may spend on decoding pictures.
    explicit FooterDrawRequest(MessageSink* messages = nullptr,
                               std::int64_t budgetBytes = kFooterPictureBudgetBytes);
    ~FooterDrawRequest();
    FooterDrawRequest(const FooterDrawRequest&) = delete;
    FooterDrawRequest& operator=(const FooterDrawRequest&) = delete;

    // Starts a drawing: the full budget, no failures counted. Drawings do not nest; a
    // second call ends the first.
    void BeginDrawing();
    // Notes that `frame` failed with `text` (after a beep, when one is given).
    void Report(std::size_t frame, std::u16string_view text,
                std::optional<BeepKind> beep = std::nullopt);
    // Notes that the picture file at `path` could not be read: it is marked unreadable for
    // the run when the drawing ends (see MarkPictureUnreadable).
    void MarkUnreadable(const QString& path);
    // Ends the drawing: marks the pictures found unreadable, then shows what was reported in
    // it, each message once.
    void EndDrawing();
    bool Drawing() const { return m_drawing; }

    // The own size of the picture at `path`; invalid when it cannot be opened.
    QSize PictureSize(const QString& path);
    // The picture at `path` ready to be stretched over `drawn` pixels (see
    // FooterPictureSource::Prepare). Null when it cannot be loaded; `overBudget` then tells
    // whether only the drawing's budget stood in the way.
    std::shared_ptr<const Picture> PreparePicture(const QString& path, QSize drawn, bool turned,
                                                  bool& overBudget);

private:
    struct Failure {
        std::u16string Text;
        std::set<std::size_t> Frames;
        bool Beep = false;
        BeepKind BeepKindToSound = BeepKind::Default;
    };
    struct CacheKey {
        QString Path;
        int Width = 0;
        int Height = 0;
        bool Turned = false;
        friend bool operator<(const CacheKey& a, const CacheKey& b) {
            return std::tie(a.Path, a.Width, a.Height, a.Turned) <
                   std::tie(b.Path, b.Width, b.Height, b.Turned);
        }
    };

    MessageSink* m_messages;
    std::int64_t m_budgetBytes;
    bool m_drawing = false;
    std::vector<Failure> m_failures; // this drawing's, in the order first reported
    std::set<QString> m_unreadable;  // picture files this drawing found unreadable
    std::set<std::u16string> m_shown;
    FooterPictureBudget m_budget;
    std::map<QString, QSize> m_sizes;
    std::map<CacheKey, std::shared_ptr<const Picture>> m_cache;
    std::int64_t m_cachedBytes = 0;
};

// A message followed by the number of frames it concerns, when more than one: "…（3 枠）".
std::u16string FooterMessageWithCount(std::u16string_view text, std::size_t frames);

// Characters of a footer or sheet text beyond which nothing is laid out: every text on a
// one-page sheet is at most a few hundred characters.
inline constexpr std::size_t kMaxFooterTextCharacters = kMaxDrawnTextCharacters;

// Picture files found unreadable during this run. The mark lives until the program ends (or
// the editor forgets it when the user chooses the frame's kind again); it is never stored.
void MarkPictureUnreadable(const QString& path);
bool IsPictureMarkedUnreadable(const QString& path);
void ForgetUnreadablePicture(const QString& path);
void ForgetUnreadablePictures();
// The frame's kind for this run: "Non" for a picture frame whose file was found unreadable
// during the run, otherwise the kind the layout holds.
std::u16string FooterKindForRun(const FooterLayout& layout, std::size_t frame);

// Draws every frame in layout order (a later frame over an earlier one). The editor's
// selection handles are the editor's own business.
// One drawing: the messages follow once all frames are drawn.
void DrawFooter(Canvas& canvas, const FooterTarget& target, const FooterLayout& layout,
                FooterDrawRequest& request);
// Draws one frame; does nothing for an index past the end. Outside a drawing it makes one
// of its own.
void DrawFooterFrame(Canvas& canvas, const FooterTarget& target, const FooterLayout& layout,
                     std::size_t frame, FooterDrawRequest& request);

} // namespace ulvan
