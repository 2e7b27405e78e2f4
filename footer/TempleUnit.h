// "寺院名等の編集": the footer editor. It shows the footer strip in the reading orientation as a
// white drawing area on which the user inserts frames with the mouse, moves and resizes them
// by their handles, fills them through three small dialogs and deletes them.
//
// It works on a working copy (KariList) of the host's footer layout, taken when it opens, and
// hands the copy back through CaseHost::SetFooter only when it closes with OK. It is created
// once and reused; the frame selection survives between showings (see Edit).
//
// Drawing: the contents of every frame but the one being dragged are kept in a cached image;
// a drag step redraws only the dragged frame over it, and the outlines, handles and the rubber
// band are painted on top, so that no picture is drawn again while a frame moves.
#pragma once

#include "footer/FooterEditing.h"
#include "footer/FooterModel.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPainter;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace ulvan {

class CaseHost;
class FooterDrawRequest;
class Interaction;
class TGraphicForm;
class TMojiForm;
class TWakuSelForm;

inline constexpr const char* kFooterEditorHelpAnchor = "footer-editor";

class TTempleForm : public QDialog {
    Q_OBJECT

public:
    // `host` gives the layout at each opening and takes it back on OK; `interaction` asks the
    // questions, shows the messages and the picture file dialog.
    TTempleForm(CaseHost& host, Interaction& interaction, QWidget* parent = nullptr);
    ~TTempleForm() override;

    // Shows the editor modally, maximised, on a copy of the host's layout; true when it closed
    // with OK (the host then holds the edited layout). A selection kept from the last showing
    // is shown again unless the layout has no frame with its index.
    bool Edit();
    // The first half of Edit: takes the working copy and resets the modes, without showing.
    void Open();

    // The host's clear command emptied the layout: forget the kept selection.
    void DropSelection();

    // "ﾍﾙﾌﾟ": opens the program's help at the given anchor. Set by the application.
    std::function<void(const QString& anchor)> OnHelp;

    // The working copy while the editor is open.
    FooterLayout KariList;

    std::optional<std::size_t> Selected() const { return m_selected; }
    bool InsertMode() const;
    // The drawing area's size in pixels (W and H of every conversion).
    int AreaWidth() const { return m_width; }
    int AreaHeight() const { return m_height; }
    // The drawing area as it is painted now: frames, dragged frame, handles and band.
    QImage AreaImage();

    // Commands.
    void SetInsertMode(bool on); // the menu item N1 and the button: on also deselects
    void EditSelectedFrame();    // 枠の編集
    void DeleteSelectedFrame();  // 枠の削除
    void DeleteAllFrames();      // 全ての枠の削除

    // Controls, named as their objectNames.
    QLabel* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QWidget* PaintBox1 = nullptr;
    QToolButton* SpeedButton1 = nullptr; // 枠の挿入 (toggle)
    QToolButton* SpeedButton2 = nullptr; // 枠の編集
    QToolButton* SpeedButton3 = nullptr; // 枠の削除
    QToolButton* SpeedButton4 = nullptr; // 全ての枠の削除
    QPushButton* Button3 = nullptr;      // ﾍﾙﾌﾟ
    QPushButton* Button1 = nullptr;      // ｷｬﾝｾﾙ
    QPushButton* Button2 = nullptr;      // OK
    QStatusBar* StatusBar1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N5 = nullptr;

    // The three dialogs, created with the editor and reused.
    TWakuSelForm* WakuSelForm = nullptr;
    TMojiForm* MojiForm = nullptr;
    TGraphicForm* GraphicForm = nullptr;

    // The mouse on the drawing area (the paint box forwards its events here).
    void AreaPressed(Qt::MouseButton button, PixelPoint point);
    void AreaMoved(PixelPoint point);
    void AreaReleased(Qt::MouseButton button, PixelPoint point);
    void PaintArea(QPainter& painter);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void LayOut();
    void Select(std::size_t frame);
    void Deselect();
    void UpdateCommands();
    void HitTest(PixelPoint point);
    void InsertFrame(PixelPoint start, PixelPoint end);
    void AskTextValues(std::size_t frame, bool fromFrame);
    void AskPictureValues(std::size_t frame, bool fromFrame);
    void LayoutChanged(); // contents changed: the cache and the drawing request start afresh
    void Repaint();
    void EnsureCache();
    void ComposeArea();
    void FlushMessages();
    void OkClicked();
    void CancelClicked();

    CaseHost& m_host;
    Interaction& m_interaction;

    int m_width = 0;
    int m_height = 0;
    std::optional<std::size_t> m_selected;
    // The handle the cursor shows after the last hover test (none: the default arrow).
    std::optional<FrameHandle> m_hover;
    // Rubber band of an insertion.
    bool m_banding = false;
    PixelPoint m_bandStart;
    PixelPoint m_bandEnd;
    // Move or resize under way.
    std::optional<std::size_t> m_dragFrame;
    FrameHandle m_dragHandle = FrameHandle::Interior;
    PixelPoint m_dragLast;

    // Every frame but m_cacheExcluded, drawn on white.
    QImage m_cache;
    bool m_cacheValid = false;
    std::optional<std::size_t> m_cacheExcluded;
    QImage m_area; // the composed drawing area
    bool m_painting = false;
    bool m_flushPending = false;
    // Messages raised while drawing, shown once the paint is over.
    class DeferredMessages;
    std::unique_ptr<DeferredMessages> m_messages;
    std::unique_ptr<FooterDrawRequest> m_request;
};

} // namespace ulvan
