#include "app/MainCommands.h"

#include "app/UlvanMain.h"

#include <cstring>

namespace ulvan {

const std::vector<MainCommand>& MainCommands() {
    static const std::vector<MainCommand> commands = [] {
        std::vector<MainCommand> rows;
        const auto add = [&rows](MainCommand command) { rows.push_back(std::move(command)); };
        // File
        add({.Name = "Open1",
             .Caption = QStringLiteral("ﾌｧｲﾙから取り込み(&D)"),
             .MenuHint = QStringLiteral("ファイルからデータを取り込む"),
             .ToolName = "ToolButton1",
             .Icon = ToolIconId::Import,
             .Run = [](TUlvanForm& form) { form.RunHook(form.OnImport); }});
        add({.Name = "New1",
             .Caption = QStringLiteral("ﾌｧｲﾙに追記(&A)"),
             .MenuHint = QStringLiteral("ファイルにデータを追記"),
             .ToolName = "ToolButton2",
             .Icon = ToolIconId::Append,
             .Run = [](TUlvanForm& form) { form.RunHook(form.OnAppend); }});
        add({.Name = "CalendarExport1",
             .Caption = QStringLiteral("カレンダーに書き出す(&C)…"),
             .MenuHint = QStringLiteral("忌日を予定として iCalendar ファイルに書き出します"),
             .Run = [](TUlvanForm& form) { form.RunHook(form.OnCalendarExport); }});
        add({.Name = "Print1",
             .Caption = QStringLiteral("Ulvan表の印刷(&P)"),
             .MenuHint = QStringLiteral("Ulvan表を印刷します（入力データも印刷）"),
             .ToolName = "ToolButton4",
             .Icon = ToolIconId::Print,
             .Run = [](TUlvanForm& form) { form.PrintMemorialSheet(false); }});
        add({.Name = "PrintPreview1",
             .Caption = QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&V)"),
             .MenuHint = QStringLiteral("印刷プレビュー画面を表示"),
             .ToolName = "ToolButton5",
             .Icon = ToolIconId::Preview,
             .Run = [](TUlvanForm& form) { form.ShowPreview(PreviewKind::Memorial); }});
        add({.Name = "Print2",
             .Caption = QStringLiteral("空白用紙の印刷(&Y)"),
             .MenuHint = QStringLiteral("空白のUlvan表用紙を印刷します（入力データは印刷しない）"),
             .ToolName = "ToolButton11",
             .Icon = ToolIconId::BlankSheet,
             .Run = [](TUlvanForm& form) { form.PrintMemorialSheet(true); }});
        add({.Name = "SavePdf1",
             .Caption = QStringLiteral("PDFに保存…"),
             .MenuHint = QStringLiteral("Ulvan表をPDFファイルに保存します（プリンタは不要）"),
             .ToolName = "ToolButton13",
             .Icon = ToolIconId::SaveText,
             .Run = [](TUlvanForm& form) { form.RunHook(form.OnSavePdf); }});
        add({.Name = "Exit1",
             .Caption = QStringLiteral("Ulvan表の終了(&X)"),
             .MenuHint = QStringLiteral("Ulvan表の終了"),
             .Run = [](TUlvanForm& form) { form.close(); }});
        // Edit. "元に戻す" undoes the last import; its Ctrl+Z acts only while no text field
        // has the focus, since a field takes the key for its own undo first.
        add({.Name = "Undo1",
             .Caption = QStringLiteral("元に戻す(&U)"),
             .MenuHint = QStringLiteral("ファイルから取り込む前のデータに戻します"),
             .Shortcut = QKeySequence(QKeySequence::Undo),
             .StartsDisabled = true,
             .Run = [](TUlvanForm& form) { form.UndoImport(); }});
        add({.Name = "Find1",
             .Caption = QStringLiteral("故人データのクリア(&C)"),
             .MenuHint = QStringLiteral("全てのデータ欄を消去"),
             .ToolName = "ToolButton7",
             .Icon = ToolIconId::Clear,
             .ToolHint = QStringLiteral("故人データのクリア"),
             .Run = [](TUlvanForm& form) { form.ClearDeceasedData(); }});
        add({.Name = "T1",
             .Caption = QStringLiteral("寺院名等の編集(&J)"),
             .MenuHint = QStringLiteral("Ulvan表末尾に挿入する寺院名等の編集を行ないます"),
             .Run = [](TUlvanForm& form) { form.EditFooter(); }});
        add({.Name = "D1",
             .Caption = QStringLiteral("寺院名等のクリア(&D)"),
             .MenuHint = QStringLiteral("寺院名等のデータを全て削除します"),
             .Run = [](TUlvanForm& form) { form.ClearFooter(); }});
        // Options
        add({.Name = "N9",
             .Caption = QStringLiteral("Ulvan日付の詳細設定"),
             .Run = [](TUlvanForm& form) { form.EditDetailSettings(); }});
        add({.Name = "N4",
             .Caption = QStringLiteral("年回表（没年から求める）(&N)"),
             .MenuHint = QStringLiteral("没年をもとに年回表を作成"),
             .ToolName = "ToolButton9",
             .Icon = ToolIconId::AnnualChart,
             .Run = [](TUlvanForm& form) { form.RunHook(form.OnAnnualChart); }});
        add({.Name = "N7",
             .Caption = QStringLiteral("年回早見表（逆算）(&H)"),
             .MenuHint = QStringLiteral("当該年度における年回早見表作成"),
             .ToolName = "ToolButton10",
             .Icon = ToolIconId::QuickTable,
             .Run = [](TUlvanForm& form) { form.RunHook(form.OnQuickTable); }});
        add({.Name = "DueList1",
             .Caption = QStringLiteral("今年の年回該当者(&G)..."),
             .MenuHint = QStringLiteral("記録ファイルから、その年に年回忌を迎える故人を一覧"),
             .ToolName = "ToolButton12",
             .Icon = ToolIconId::DueList,
             .Run = [](TUlvanForm& form) { form.RunHook(form.OnDueList); }});
        // Help
        add({.Name = "Contents1",
             .Caption = QStringLiteral("目次(&C)"),
             .MenuHint = QStringLiteral("ヘルプの目次を表示"),
             .Run = [](TUlvanForm& form) { form.RunHook(form.OnHelp); }});
        add({.Name = "SearchforHelpOn1",
             .Caption = QStringLiteral("ﾄﾋﾟｯｸの検索(&S)"),
             .MenuHint = QStringLiteral("ヘルプ・トピックの検索"),
             .Run = [](TUlvanForm& form) { form.RunHook(form.OnHelp); }});
        add({.Name = "About1",
             .Caption = QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"),
             .MenuHint = QStringLiteral("現在ご使用のUlvan表のバージョンと著作権情報などを表示"),
             .Run = [](TUlvanForm& form) { form.RunHook(form.OnAbout); }});
        return rows;
    }();
    return commands;
}

const std::vector<MainMenu>& MainMenus() {
    static const std::vector<MainMenu> menus = {
        {QStringLiteral("ﾌｧｲﾙ(&F)"),
         "File1",
         {"Open1", "New1", "CalendarExport1", nullptr, "Print1", "PrintPreview1", "Print2",
          "SavePdf1", nullptr, "Exit1"}},
        {QStringLiteral("編集(&E)"), "Edit1Menu", {"Undo1", nullptr, "Find1", nullptr, "T1", "D1"}},
        {QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"), "Option1", {"N9", nullptr, "N4", "N7", "DueList1"}},
        {QStringLiteral("ﾍﾙﾌﾟ(&H)"), "Help1", {"Contents1", "SearchforHelpOn1", nullptr, "About1"}},
    };
    return menus;
}

const std::vector<const char*>& MainToolBar() {
    static const std::vector<const char*> buttons = {
        nullptr, "Open1", "New1",  nullptr, "Print1", "PrintPreview1", "Print2", "SavePdf1",
        nullptr, "Find1", nullptr, "N4",    "N7",     "DueList1"};
    return buttons;
}

const MainCommand* FindMainCommand(const char* name) {
    for (const MainCommand& command : MainCommands()) {
        if (std::strcmp(command.Name, name) == 0) {
            return &command;
        }
    }
    return nullptr;
}

} // namespace ulvan
