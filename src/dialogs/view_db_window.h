#pragma once

#include <QMainWindow>

#include <string>

class QAction;
class QMenu;
class QPlainTextEdit;

namespace valdrex {

// The database viewer: the whole file as editable text, saved back on request. Not modal;
// at most one is open (see ShowDatabaseViewer) and closing it destroys it.
class frmViewDB : public QMainWindow {
    Q_OBJECT

  public:
    // Form_Load: the window shows `fileBytes`, read from the file at `path`.
    frmViewDB(const std::string& path, const std::string& fileBytes);

  protected:
    // Form_QueryUnload: asks before unsaved changes are lost.
    void closeEvent(QCloseEvent* event) override;

  private:
    void mnuVUpdate_Click();
    void mnuVClose_Click();
    // Whether the text is now the file's: saved, or reloaded at the user's choice.
    bool SaveDatabase();
    // The file changed other than by appending since it was read: overwrite, reload or cancel.
    bool AskBeforeReplacing(const std::string& diskBytes);
    void ShowFile(const std::string& fileBytes);
    std::string EditedText() const;

    std::string path_;
    std::string fileBytes_; // the file as last read or written, to tell what changed it since
    std::string SavedText;  // the file text as last loaded or saved
    QPlainTextEdit* txtDB;
    QMenu* mnuVFile;
    QAction* mnuVUpdate;
    QAction* mnuVClose;
};

// Reads the file (creating it empty when missing) and shows the viewer, or brings the open
// viewer to the front with the text it already holds. A failure to read shows the error box
// over `parent` and shows no viewer. Returns the viewer, or nullptr after a failure.
frmViewDB* ShowDatabaseViewer(const std::string& path, QWidget* parent);

} // namespace valdrex
