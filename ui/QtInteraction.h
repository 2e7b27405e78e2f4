// The program's own Interaction: real message boxes, beeps and the platform's file and print
// dialogs. Every box is centred on the screen, whatever window asked for it.
#pragma once

#include "ui/Interaction.h"

namespace ulvan {

class QtInteraction : public Interaction {
public:
    QtInteraction() = default;

    // A plain box with one OK button, captioned with the application's title.
    void ShowMessage(std::u16string_view text) override;
    // Both kinds sound the platform's one beep; the platform offers no other.
    void Beep(BeepKind kind) override;

    bool Confirm(ConfirmKind kind, const QString& caption, const QString& text) override;
    Choice AskYesNoCancel(const QString& caption, const QString& text) override;
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString SavePdfFileName(QWidget* parent, const QString& caption, const QString& proposed,
                            QPageSize::PageSizeId& paper) override;
    QString AppendFileName(QWidget* parent, const QString& caption, const QString& dir,
                           const QString& filter) override;
    // The program's own dialog (not the platform's), so that it can show the preview.
    QString OpenPictureFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter) override;
    bool PrintDialog(QWidget* parent, QPrinter& printer) override;
};

} // namespace ulvan
