#include "quicktable/TextFile.h"

#include "sheet/QtText.h"

#include <QStringConverter>

#include <algorithm>
#include <string_view>

namespace ulvan {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
const QByteArray kUtf16LeBom("\xFF\xFE");
const QByteArray kUtf16BeBom("\xFE\xFF");

QString NormaliseLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Decodes with Qt's converter; `unreadable` counts the sequences it replaced.
QString DecodeUnicode(QByteArrayView bytes, QStringConverter::Encoding encoding,
                      std::size_t& unreadable) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        // The replacements the text did not hold already.
        const QString clean =
            QStringDecoder(encoding, QStringConverter::Flag::Stateless |
                                         QStringConverter::Flag::ConvertInvalidToNull)
                .decode(bytes);
        unreadable = static_cast<std::size_t>(std::max<qsizetype>(
            1, text.count(QChar::ReplacementCharacter) - clean.count(QChar::ReplacementCharacter)));
    }
    return text;
}

bool IsValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && !text.contains(QChar::ReplacementCharacter);
}

bool HasHighByte(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

} // namespace

QString EncodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Cp932:
        return QStringLiteral("Shift-JIS");
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf8Bom:
        return QStringLiteral("UTF-8（BOM付き）");
    case TextEncoding::Utf16Le:
        return QStringLiteral("UTF-16 LE");
    case TextEncoding::Utf16Be:
        return QStringLiteral("UTF-16 BE");
    }
    return {};
}

TextFileContent DecodeTextFile(const QByteArray& bytes) {
    TextFileContent content;
    const QByteArrayView view(bytes);
    if (bytes.startsWith(kUtf8Bom)) {
        content.Encoding = TextEncoding::Utf8Bom;
        content.Text = DecodeUnicode(view.sliced(3), QStringConverter::Utf8, content.Unreadable);
    } else if (bytes.startsWith(kUtf16LeBom)) {
        content.Encoding = TextEncoding::Utf16Le;
        content.Text = DecodeUnicode(view.sliced(2), QStringConverter::Utf16LE, content.Unreadable);
    } else if (bytes.startsWith(kUtf16BeBom)) {
        content.Encoding = TextEncoding::Utf16Be;
        content.Text = DecodeUnicode(view.sliced(2), QStringConverter::Utf16BE, content.Unreadable);
    } else if (HasHighByte(view) && IsValidUtf8(view)) {
        content.Encoding = TextEncoding::Utf8;
        content.Text = QString::fromUtf8(bytes);
    } else {
        content.Encoding = TextEncoding::Cp932;
        std::vector<CodecProblem> problems;
        content.Text = ToQ(
            DecodeCp932(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        &problems));
        content.Unreadable = problems.size();
    }
    content.Text = NormaliseLineBreaks(content.Text);
    return content;
}

QByteArray EncodeTextFile(const QString& text, TextEncoding encoding,
                          std::vector<CodecProblem>* problems) {
    QString lines = NormaliseLineBreaks(text);
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    switch (encoding) {
    case TextEncoding::Cp932: {
        const std::string bytes = EncodeCp932(ToU16(lines), problems);
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    case TextEncoding::Utf8:
        return lines.toUtf8();
    case TextEncoding::Utf8Bom:
        return kUtf8Bom + lines.toUtf8();
    case TextEncoding::Utf16Le: {
        QStringEncoder encoder(QStringConverter::Utf16LE);
        return kUtf16LeBom + QByteArray(encoder.encode(lines));
    }
    case TextEncoding::Utf16Be: {
        QStringEncoder encoder(QStringConverter::Utf16BE);
        return kUtf16BeBom + QByteArray(encoder.encode(lines));
    }
    }
    return {};
}

} // namespace ulvan
