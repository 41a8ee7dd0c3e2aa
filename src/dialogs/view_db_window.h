#pragma once

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QProgressBar;
class QTimer;

namespace valdrex {

class DatabaseTextView;
class FindBar;

// The database viewer: the whole file as editable text, saved back on request. Not modal;
// at most one is open (see ShowDatabaseViewer) and closing it destroys it. A large file is
// read in the background while the window shows the progress.
class frmViewDB : public QMainWindow {
    Q_OBJECT

  public:
    // Form_Load: the window for the file at `path`, empty until Read is called.
    explicit frmViewDB(const std::string& path);
    ~frmViewDB() override;

    // Reads the file (creating it empty when missing): a small file at once, failing with a
    // RuntimeFailure; a large one in the background, and a failure then shows the error box and
    // closes the window.
    void Read();
    bool IsReading() const { return reading_ != nullptr; }
    // The line under the cursor, as shown: a record or a note line.
    std::string LineAtCursor() const;

  signals:
    void ReadingFinished(); // the whole file is in the text, or could not be read
    // "Load into the grid": the line under the cursor, for the main window to read.
    void LoadLine(const QString& line);

  protected:
    // Form_QueryUnload: asks before unsaved changes are lost.
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Reading;
    void SetReading(bool reading);
    void FinishReading();
    void ShowReadingProgress();
    void mnuVUpdate_Click();
    void mnuVClose_Click();
    // Whether the text is now the file's: saved, or reloaded at the user's choice. With
    // `overwriteLength`, the first bytes of the file are replaced whatever they now are.
    bool SaveDatabase(std::optional<std::uint64_t> overwriteLength = {});
    // The file changed other than by appending since it was read: overwrite, reload or cancel.
    bool AskBeforeReplacing(std::uint64_t diskLength);

    std::string path_;
    DatabaseTextView* txtDB;
    FindBar* find_;
    QMenu* mnuVFile;
    QAction* mnuVUpdate;
    QAction* mnuVClose;
    QAction* mnuVLoad;
    QMenu* mnuVSearch;
    QProgressBar* readProgress_;
    QTimer* progressTimer_;
    std::unique_ptr<Reading> reading_;
};

// Opens the file (creating it empty when missing) and shows the viewer reading it, or brings
// the open viewer to the front with the text it already holds. A failure to open or read shows
// the error box over `parent` and shows no viewer. Returns the viewer, or nullptr after a
// failure.
frmViewDB* ShowDatabaseViewer(const std::string& path, QWidget* parent);

} // namespace valdrex
