#pragma once

#include <QString>

namespace valdrex {

// The viewer shows the file's CR LF line ends as line breaks. Lone line feeds and carriage
// returns have no place of their own in the editor, so they are shown as a soft line break
// (U+2028) and as the carriage-return symbol (U+240D); neither can occur in the file, so an
// unedited text goes back to exactly the bytes it came from.

// The editor text for a file text.
QString EditorTextFromFile(const QString& fileText);
// The file text for the editor's raw document text (blocks separated by U+2029).
QString FileTextFromEditor(const QString& rawEditorText);

} // namespace valdrex
