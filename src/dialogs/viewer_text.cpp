#include "dialogs/viewer_text.h"

namespace valdrex {
namespace {

constexpr QChar kLineSeparator(0x2028);
constexpr QChar kParagraphSeparator(0x2029);
constexpr QChar kCarriageReturnSymbol(0x240D);

} // namespace

QString EditorTextFromFile(const QString& fileText) {
    QString editorText;
    editorText.reserve(fileText.size());
    for (qsizetype i = 0; i < fileText.size(); ++i) {
        const QChar c = fileText[i];
        if (c == u'\r' && i + 1 < fileText.size() && fileText[i + 1] == u'\n') {
            editorText += u'\n';
            ++i;
        } else if (c == u'\r') {
            editorText += kCarriageReturnSymbol;
        } else if (c == u'\n') {
            editorText += kLineSeparator;
        } else {
            editorText += c;
        }
    }
    return editorText;
}

QString FileTextFromEditor(const QString& rawEditorText) {
    QString fileText;
    fileText.reserve(rawEditorText.size() + rawEditorText.count(kParagraphSeparator));
    for (const QChar c : rawEditorText) {
        if (c == kParagraphSeparator)
            fileText += u"\r\n";
        else if (c == kLineSeparator)
            fileText += u'\n';
        else if (c == kCarriageReturnSymbol)
            fileText += u'\r';
        else
            fileText += c;
    }
    return fileText;
}

} // namespace valdrex
