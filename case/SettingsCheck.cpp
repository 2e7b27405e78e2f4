#include "case/SettingsCheck.h"

#include "case/SettingsStore.h"
#include "sheet/QtText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>

#include <algorithm>

namespace ulvan {

namespace {

QString Resolve(const QString& file) {
    return file.isEmpty() ? SettingsStore::DefaultFile() : file;
}

// The nearest existing folder above a missing file that is not a folder: the file cannot
// come into being under it. Empty when there is none.
QString BlockingAncestor(const QString& file) {
    QString path = QFileInfo(file).absolutePath();
    while (!path.isEmpty()) {
        const QFileInfo info(path);
        if (info.exists()) {
            return info.isDir() ? QString() : path;
        }
        const QString parent = info.absolutePath();
        if (parent == path) {
            break;
        }
        path = parent;
    }
    return {};
}

void AddFinding(std::vector<std::u16string>& findings, std::u16string_view finding) {
    if (std::find(findings.begin(), findings.end(), finding) == findings.end()) {
        findings.emplace_back(finding);
    }
}

// What the store's INI reading would not give back as it stands in the file.
void CheckLines(QByteArrayView data, std::vector<std::u16string>& findings) {
    qsizetype start = 0;
    bool continued = false;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0) {
            end = data.size();
        }
        QByteArrayView line = data.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        const QByteArrayView trimmed = line.trimmed();
        const bool wasContinued = continued;
        // A value line ending in an odd number of backslashes runs on into the next line.
        qsizetype backslashes = 0;
        while (backslashes < trimmed.size() && trimmed[trimmed.size() - 1 - backslashes] == '\\') {
            ++backslashes;
        }
        continued = backslashes % 2 == 1;
        if (wasContinued || continued) {
            AddFinding(findings, u"行末の「\\」で次の行につながる値");
        }
        if (wasContinued || trimmed.isEmpty() || trimmed.startsWith('[')) {
            continue;
        }
        if (trimmed.startsWith(';') || trimmed.startsWith('#')) {
            AddFinding(findings, u"注釈の行");
            continue;
        }
        const qsizetype equals = trimmed.indexOf('=');
        if (equals < 0) {
            AddFinding(findings, u"「=」のない行");
            continue;
        }
        const QByteArrayView value = trimmed.sliced(equals + 1).trimmed();
        // "@@" stands for a text starting with "@" and "@String(…)" for a text the store
        // writes that way (one holding a NUL); any other "@" form (@Rect, @Variant,
        // @ByteArray …) is read as something other than the text it shows.
        if (value.startsWith('@') && !value.startsWith("@@") && !value.startsWith("@String(")) {
            AddFinding(findings, u"「@」で始まる特別な形式の値");
        }
    }
}

} // namespace

SettingsFileCheck CheckSettingsFile(const QString& file) {
    SettingsFileCheck check;
    check.File = Resolve(file);
    const QFileInfo info(check.File);
    if (!info.exists()) {
        if (const QString ancestor = BlockingAncestor(check.File); !ancestor.isEmpty()) {
            check.State = SettingsFileState::Unreadable;
            check.Reason = QStringLiteral("%1 はフォルダではありません").arg(ancestor);
        }
        return check;
    }
    if (info.isDir()) {
        check.State = SettingsFileState::Unreadable;
        check.Reason = QStringLiteral("ファイルではなくフォルダです");
        return check;
    }
    if (!info.isFile()) {
        check.State = SettingsFileState::Unreadable;
        check.Reason = QStringLiteral("通常のファイルではありません");
        return check;
    }
    QFile in(check.File);
    if (!in.open(QIODevice::ReadOnly)) {
        check.State = SettingsFileState::Unreadable;
        check.Reason = in.errorString();
        return check;
    }
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        check.State = SettingsFileState::Unreadable;
        check.Reason = in.errorString();
        return check;
    }
    in.close();

    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(data);
    (void)text;
    if (utf8.hasError()) {
        AddFinding(check.Findings, u"UTF-8 ではない文字（シフトJIS など）");
    }
    CheckLines(data, check.Findings);
    const QSettings store(check.File, QSettings::IniFormat);
    if (store.status() == QSettings::AccessError) {
        check.State = SettingsFileState::Unreadable;
        check.Reason = QStringLiteral("読み込みに失敗しました");
        return check;
    }
    if (store.status() == QSettings::FormatError) {
        AddFinding(check.Findings, u"書式の誤り");
    }
    check.State = check.Findings.empty() ? SettingsFileState::Clean : SettingsFileState::Unclean;
    return check;
}

bool SettingsFileUsable(const QString& file) {
    const QString path = Resolve(file);
    const QFileInfo info(path);
    if (!info.exists()) {
        return BlockingAncestor(path).isEmpty();
    }
    return info.isFile() && info.isReadable();
}

std::u16string UnreadableSettingsMessage(const SettingsFileCheck& check) {
    return ToU16(QStringLiteral("設定ファイルを読めません: %1 (%2)")
                     .arg(QDir::toNativeSeparators(check.File), check.Reason));
}

SettingsOpening PrepareSettingsForRun(const QString& file, const QDateTime& now) {
    SettingsOpening opening;
    const SettingsFileCheck check = CheckSettingsFile(file);
    switch (check.State) {
    case SettingsFileState::Missing:
    case SettingsFileState::Clean:
        return opening;
    case SettingsFileState::Unreadable:
        opening.MayWrite = false;
        opening.Message = UnreadableSettingsMessage(check);
        return opening;
    case SettingsFileState::Unclean:
        break;
    }
    std::u16string findings;
    for (const std::u16string& finding : check.Findings) {
        if (!findings.empty()) {
            findings += u"、";
        }
        findings += finding;
    }
    // A copy of these very bytes kept at an earlier start (a part that the save keeps as it
    // is, such as an unknown key in a special form) is not made or told again.
    const QByteArray bytes = [&check] {
        QFile in(check.File);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }();
    const QFileInfo info(check.File);
    for (const QString& name : QDir(info.absolutePath())
                                   .entryList({info.fileName() + QStringLiteral(".bak-*")},
                                              QDir::Files, QDir::Name | QDir::Reversed)) {
        QFile earlier(info.dir().filePath(name));
        if (earlier.size() == bytes.size() && earlier.open(QIODevice::ReadOnly) &&
            earlier.readAll() == bytes) {
            opening.Copy = earlier.fileName();
            return opening;
        }
    }
    const QString stem =
        check.File + QStringLiteral(".bak-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = stem;
    for (int n = 2; QFileInfo::exists(copy) && n < 100; ++n) {
        copy = stem + QLatin1Char('-') + QString::number(n);
    }
    QFile original(check.File);
    if (QFileInfo::exists(copy) || !original.copy(copy)) {
        opening.MayWrite = false;
        opening.Message = ToU16(
            QStringLiteral("設定ファイル %1 の一部を正しく読めませんでした（%2）。"
                           "元のファイルの控えを作れなかったため、"
                           "この設定ファイルは上書きしません (%3)")
                .arg(QDir::toNativeSeparators(check.File), ToQ(findings), original.errorString()));
        return opening;
    }
    opening.Copy = copy;
    opening.Message =
        ToU16(QStringLiteral("設定ファイル %1 の一部を正しく読めませんでした（%2）。"
                             "元のファイルを %3 として残しました。読めなかった部分は、"
                             "終了時に保存される設定には含まれません。")
                  .arg(QDir::toNativeSeparators(check.File), ToQ(findings),
                       QDir::toNativeSeparators(copy)));
    return opening;
}

} // namespace ulvan
