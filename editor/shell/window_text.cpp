#include "window_text.h"

#include <QFile>

namespace tessvane {

CharacterSet CharacterSetOf(const EditorContext& editor) {
    return editor.settings.CharacterSet;
}

QString ShowText(std::string_view bytes, CharacterSet set) {
    const std::string utf8 = DecodeToUtf8(bytes, set);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

TypedText ReadTyped(const QString& text, CharacterSet set) {
    const QByteArray utf8 = text.toUtf8();
    EncodeResult encoded = EncodeFromUtf8(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), set);
    TypedText typed;
    if (encoded.ok())
        typed.bytes = std::move(encoded.bytes);
    else
        typed.refusal = RefusalMessage(*encoded.refused, set);
    return typed;
}

std::string RefusalMessage(char32_t refused, CharacterSet set) {
    return "The character " + DescribeCodePoint(refused) + " is not in the character set " +
           std::string(CharacterSetName(set)) + "; nothing was stored.";
}

QString ShowLocal(std::string_view path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string LocalText(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

}  // namespace tessvane
