// An Interaction for window tests: it records every message, beep, question and dialog call
// in order, and answers questions, file dialogs and the print dialog from a script that the
// test queues beforehand. A call that finds no matching answer at the head of the script
// fails the running test (and is answered No / cancelled so the code under test can go on).
#pragma once

#include "ui/Interaction.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace ulvan {

class ScriptedInteraction : public Interaction {
public:
    struct Question {
        QString Caption;
        QString Text;
        ConfirmKind Kind = ConfirmKind::Question;
    };
    enum class DialogKind { Open, Save, Print, OpenPicture };
    struct DialogCall {
        DialogKind Kind;
        QString Caption; // empty for the print dialog
        QString Dir;
        QString Filter;
    };

    // --- the script, consumed in order ---
    void AnswerConfirm(bool yes);
    void AnswerYesNoCancel(Choice choice);
    // An empty path stands for Cancel.
    void AnswerOpenFile(const QString& path);
    void AnswerSaveFile(const QString& path);
    void AnswerOpenPicture(const QString& path);
    // `configure` may set up the printer as the user would in the dialog (e.g. print to a
    // PDF file); it runs only when `accept` is true.
    void AnswerPrintDialog(bool accept, std::function<void(QPrinter&)> configure = {});

    // Answers not yet asked for; a finished test expects 0.
    std::size_t PendingAnswers() const { return m_script.size(); }
    // Calls that found no fitting answer.
    int UnscriptedCalls() const { return m_unscripted; }

    // --- what was shown, in the order of the calls ---
    QStringList Messages;
    std::vector<BeepKind> Beeps;
    std::vector<Question> Questions;
    std::vector<DialogCall> Dialogs;
    // Every call as one line: "message: …", "beep: default|exclamation", "confirm: caption |
    // text", "open: caption", "save: caption", "print", "picture: caption". Handy for checking the
    // order.
    QStringList Log;

    // Forgets the records (not the script).
    void ClearRecords();

    // Interaction
    void ShowMessage(std::u16string_view text) override;
    void Beep(BeepKind kind) override;
    bool Confirm(ConfirmKind kind, const QString& caption, const QString& text) override;
    // Recorded in Questions with the kind Warning, logged as "ask: caption | text".
    Choice AskYesNoCancel(const QString& caption, const QString& text) override;
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString OpenPictureFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter) override;
    bool PrintDialog(QWidget* parent, QPrinter& printer) override;

private:
    enum class AnswerKind { Confirm, Open, Save, Print, OpenPicture, YesNoCancel };
    struct Answer {
        AnswerKind Kind;
        bool Yes = false;
        Choice Chosen = Choice::Cancel;
        QString Path;
        std::function<void(QPrinter&)> Configure;
    };

    // The head of the script when it is of `kind`; otherwise records a failure.
    bool Take(AnswerKind kind, const QString& call, Answer& answer);

    std::deque<Answer> m_script;
    int m_unscripted = 0;
};

} // namespace ulvan
