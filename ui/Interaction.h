// The one door through which windows talk to the user modally: message boxes, questions,
// beeps, file and print dialogs. The program uses QtInteraction; tests install a scripted
// implementation that answers the questions and records what was shown.
#pragma once

#include "calendar/Messages.h"

#include <QPageSize>
#include <QString>

class QPrinter;
class QWidget;

namespace ulvan {

class Interaction : public MessageSink {
public:
    // ShowMessage and Beep come from MessageSink.

    // What a confirmation box shows as its icon: a plain question, or a warning (the margin
    // check before printing).
    enum class ConfirmKind { Question, Warning };

    // A confirmation box with "はい(&Y)" and "いいえ(&N)"; true for Yes. The caller sounds the
    // exclamation beep first where that is wanted.
    virtual bool Confirm(ConfirmKind kind, const QString& caption, const QString& text) = 0;

    // A warning box with "はい(&Y)", "いいえ(&N)" and "キャンセル"; closing the box counts as
    // Cancel. The caller sounds the exclamation beep first.
    enum class Choice { Yes, No, Cancel };
    virtual Choice AskYesNoCancel(const QString& caption, const QString& text) = 0;

    // File dialogs: the chosen path, or an empty string when the user cancelled. The save
    // dialog asks before it returns the path of an existing file.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    // A save dialog for a file that is added to, never replaced: choosing an existing file
    // asks nothing. Without an override, the plain save dialog.
    virtual QString AppendFileName(QWidget* parent, const QString& caption, const QString& dir,
                                   const QString& filter) {
        return SaveFileName(parent, caption, dir, filter);
    }
    // The save dialog of a sheet's PDF, proposing `proposed` (a path); the paper the user
    // picks among the dialog's choices comes back in `paper` (kept when there is no choice).
    // Without an override, the plain save dialog on PDF files.
    virtual QString SavePdfFileName(QWidget* parent, const QString& caption,
                                    const QString& proposed, QPageSize::PageSizeId& paper) {
        (void)paper;
        return SaveFileName(parent, caption, proposed, QStringLiteral("PDF (*.pdf)"));
    }
    // An open-file dialog for a picture, showing a preview of the picture under the cursor.
    virtual QString OpenPictureFileName(QWidget* parent, const QString& caption, const QString& dir,
                                        const QString& filter) = 0;

    // The print dialog on `printer`; false when the user cancelled.
    virtual bool PrintDialog(QWidget* parent, QPrinter& printer) = 0;
};

} // namespace ulvan
