// The print preview window: the memorial sheet (or, for the annual chart, that sheet) drawn
// on the screen the way it is read, with five zoom levels and a print button. Created once at
// start-up and shown modally any number of times; the zoom level and page size stay from one
// showing to the next. Every paint reads the current values afresh.
#pragma once

#include "sheet/Canvas.h"
#include "sheet/PreviewZoom.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QScrollArea;
class QStatusBar;
class QToolButton;
class QWidget;

namespace ulvan {

class FooterDrawRequest;
class MemorialSheetPrinter;
class PreviewMessages;
class PreviewPaintBox;

class TPrevForm : public QDialog {
    Q_OBJECT

public:
    // `printer` prints and supplies the values of the memorial sheet; it must outlive the
    // window.
    explicit TPrevForm(MemorialSheetPrinter& printer, QWidget* parent = nullptr);
    ~TPrevForm() override;

    // The annual chart's branch (PreviewKind 1): its screen drawing (border included; the
    // footer reports through the showing's request) and its print command. Unset, that kind
    // shows the border only and its print button beeps.
    std::function<void(Canvas&, int previewWidth, int previewHeight, FooterDrawRequest&)>
        AnnualPainter;
    std::function<void()> AnnualPrint;
    std::function<void()> AnnualSavePdf;

    // Sets PreviewKind and shows the window modally, maximised; returns when it closes.
    void ShowPreview(std::int32_t kind);

    std::int32_t ZoomLevel = 0;
    std::int32_t PreviewWidth = 0;
    std::int32_t PreviewHeight = 0;
    std::int32_t PreviewKind = 0;

    // Controls under their component names.
    QWidget* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr; // 印刷
    QToolButton* SpeedButton2 = nullptr; // ズームイン
    QToolButton* SpeedButton3 = nullptr; // ズームアウト
    QToolButton* SpeedButton4 = nullptr; // 閉じる
    QToolButton* SpeedButton5 = nullptr; // PDFに保存…
    QStatusBar* StatusBar1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* PaintBox1 = nullptr;

    void Print();
    // "PDFに保存…": the sheet shown, written as a PDF.
    void SavePdf();
    void ZoomIn();
    void ZoomOut();
    // Level 0: the paint box fills the scroll box again and the page fits into it.
    void Fit();

    // Draws what the paint box shows (border and sheet) on `canvas`.
    void PaintPage(Canvas& canvas);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One zoom step in (+1) or out (-1); the buttons follow the level reached.
    void StepZoom(int step);
    void ApplyPageSize();
    void ShowPaintMessages();
    // A page larger than the window shows first where the sheet is read from: its right
    // end (title, date, name) and its top. Kept while the window settles its size, until
    // the user scrolls.
    void StartAtReadingEnd();
    void ScrollToReadingEnd();

    friend class PreviewMessages;

    MemorialSheetPrinter& m_printer;
    // Footer messages wait until the paint is over (a message box inside a paint would
    // paint again); the request of one showing shows each message once.
    std::unique_ptr<PreviewMessages> m_messages;
    std::unique_ptr<FooterDrawRequest> m_request;
    QStringList m_pending;
    bool m_messageQueued = false;
    bool m_atReadingEnd = false; // keep the view at the right end and top
};

} // namespace ulvan
