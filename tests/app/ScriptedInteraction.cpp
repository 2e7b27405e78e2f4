#include "ScriptedInteraction.h"

#include "sheet/QtText.h"

#include <QTest>

#include <utility>

namespace ulvan {

namespace {

const char* KindName(int kind) {
    static const char* const names[] = {"confirmation question", "open-file dialog",
                                        "save-file dialog",      "print dialog",
                                        "open-picture dialog",   "yes-no-cancel question"};
    return names[kind];
}

} // namespace

void ScriptedInteraction::AnswerConfirm(bool yes) {
    m_script.push_back({AnswerKind::Confirm, yes, {}, {}, {}});
}

void ScriptedInteraction::AnswerYesNoCancel(Choice choice) {
    Answer answer{AnswerKind::YesNoCancel, false, {}, {}, {}};
    answer.Chosen = choice;
    m_script.push_back(std::move(answer));
}

void ScriptedInteraction::AnswerOpenFile(const QString& path) {
    m_script.push_back({AnswerKind::Open, false, {}, path, {}});
}

void ScriptedInteraction::AnswerSaveFile(const QString& path) {
    m_script.push_back({AnswerKind::Save, false, {}, path, {}});
}

void ScriptedInteraction::AnswerOpenPicture(const QString& path) {
    m_script.push_back({AnswerKind::OpenPicture, false, {}, path, {}});
}

void ScriptedInteraction::AnswerPrintDialog(bool accept, std::function<void(QPrinter&)> configure) {
    m_script.push_back({AnswerKind::Print, accept, {}, {}, std::move(configure)});
}

void ScriptedInteraction::ClearRecords() {
    Messages.clear();
    Beeps.clear();
    Questions.clear();
    Dialogs.clear();
    Log.clear();
}

void ScriptedInteraction::ShowMessage(std::u16string_view text) {
    const QString message = ToQ(text);
    Messages.append(message);
    Log.append(QStringLiteral("message: ") + message);
}

void ScriptedInteraction::Beep(BeepKind kind) {
    Beeps.push_back(kind);
    Log.append(kind == BeepKind::Default ? QStringLiteral("beep: default")
                                         : QStringLiteral("beep: exclamation"));
}

bool ScriptedInteraction::Take(AnswerKind kind, const QString& call, Answer& answer) {
    if (!m_script.empty() && m_script.front().Kind == kind) {
        answer = std::move(m_script.front());
        m_script.pop_front();
        return true;
    }
    ++m_unscripted;
    const QByteArray expected = m_script.empty()
                                    ? QByteArray("nothing")
                                    : QByteArray(KindName(static_cast<int>(m_script.front().Kind)));
    const QByteArray message = "Unscripted " + QByteArray(KindName(static_cast<int>(kind))) + " (" +
                               call.toUtf8() + "); the script expected " + expected;
    QTest::qFail(message.constData(), __FILE__, __LINE__);
    return false;
}

bool ScriptedInteraction::Confirm(ConfirmKind kind, const QString& caption, const QString& text) {
    Questions.push_back({caption, text, kind});
    Log.append(QStringLiteral("confirm: ") + caption + QStringLiteral(" | ") + text);
    Answer answer;
    if (!Take(AnswerKind::Confirm, caption + QStringLiteral(": ") + text, answer)) {
        return false;
    }
    return answer.Yes;
}

Interaction::Choice ScriptedInteraction::AskYesNoCancel(const QString& caption,
                                                        const QString& text) {
    Questions.push_back({caption, text, ConfirmKind::Warning});
    Log.append(QStringLiteral("ask: ") + caption + QStringLiteral(" | ") + text);
    Answer answer;
    if (!Take(AnswerKind::YesNoCancel, caption + QStringLiteral(": ") + text, answer)) {
        return Choice::Cancel;
    }
    return answer.Chosen;
}

QString ScriptedInteraction::OpenFileName(QWidget* /*parent*/, const QString& caption,
                                          const QString& dir, const QString& filter) {
    Dialogs.push_back({DialogKind::Open, caption, dir, filter});
    Log.append(QStringLiteral("open: ") + caption);
    Answer answer;
    if (!Take(AnswerKind::Open, caption, answer)) {
        return {};
    }
    return answer.Path;
}

QString ScriptedInteraction::SaveFileName(QWidget* /*parent*/, const QString& caption,
                                          const QString& dir, const QString& filter) {
    Dialogs.push_back({DialogKind::Save, caption, dir, filter});
    Log.append(QStringLiteral("save: ") + caption);
    Answer answer;
    if (!Take(AnswerKind::Save, caption, answer)) {
        return {};
    }
    return answer.Path;
}

QString ScriptedInteraction::OpenPictureFileName(QWidget* /*parent*/, const QString& caption,
                                                 const QString& dir, const QString& filter) {
    Dialogs.push_back({DialogKind::OpenPicture, caption, dir, filter});
    Log.append(QStringLiteral("picture: ") + caption);
    Answer answer;
    if (!Take(AnswerKind::OpenPicture, caption, answer)) {
        return {};
    }
    return answer.Path;
}

bool ScriptedInteraction::PrintDialog(QWidget* /*parent*/, QPrinter& printer) {
    Dialogs.push_back({DialogKind::Print, {}, {}, {}});
    Log.append(QStringLiteral("print"));
    Answer answer;
    if (!Take(AnswerKind::Print, QStringLiteral("print"), answer)) {
        return false;
    }
    if (answer.Yes && answer.Configure) {
        answer.Configure(printer);
    }
    return answer.Yes;
}

} // namespace ulvan
