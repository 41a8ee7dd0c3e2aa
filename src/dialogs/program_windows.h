#pragma once

#include "core/failure.h"
#include "model/module_state.h"
#include "model/settings_store.h"

#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace valdrex {

// The windows of the program itself (welcome, About, help) and the texts and files they show.

// The start of the program: composes VersionText and CommentText, reads the "Welcome" setting
// into state.ShowWelcome and, when it is on, shows the welcome window until it is closed.
// Returns whether the program goes on to its main window: true when the window is not wanted
// or was closed with OK, false when it was closed any other way.
bool RunWelcome(ModuleState& state, const SettingsStore& store);

// The modal About window: the program's icon, title, version and credits, and readme.txt from
// the program's folder.
void ShowAbout(const ModuleState& state, QWidget* parent);

// Opens the help file beside the program at its contents page, in the program's one help
// window (not modal). A file that cannot be read gives the box to show instead.
std::optional<ErrorBox> ShowHelp(QWidget* parent);
// The same for the help file at `path`.
std::optional<ErrorBox> ShowHelpFile(const std::string& path, QWidget* parent);

// "Version " + major + "." + minor + revision + " for Win-32 systems": there is no point
// between minor and revision, so 1.3.0 reads "Version 1.30 ...".
std::string VersionText(int major, int minor, int revision);
// The comments, a blank line, "Realized by " and the legal notice, lines ending with CR LF.
std::string CommentText();
// VersionText of the version this program was built as.
std::string ProgramVersionText();

// A file's contents as the About window shows it: its lines (each ending at CR LF, a lone CR
// or a lone LF) joined with CR LF, without a line end after the last line.
std::string ReadmeText(std::string_view contents);
// ReadmeText of the file at `path`; empty when the file is missing or cannot be read.
std::string ReadReadmeFile(const std::string& path);

// The help file beside the program: the folder without one trailing "/", then "/Valdrex.hlp".
std::string HelpFilePath(std::string_view programFolder);
// The readme beside the program: the folder as it stands, then "/readme.txt".
std::string ReadmeFilePath(std::string_view programFolder);

} // namespace valdrex
