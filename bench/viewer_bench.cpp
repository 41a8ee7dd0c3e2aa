// The database viewer on a large file, offscreen: how long until the window shows, until the
// whole file can be browsed, until Ctrl+End has drawn the end, a page of scrolling, a find
// that hits near the end, and a save after one edit; and the peak memory on top of the program.
// With --plain-text-edit it feeds the file instead into a plain-text editor in chunks of 1 MiB
// (the other way of showing it that was measured), timing that and its memory.
//
// Usage: viewer_bench [--plain-text-edit] DATABASE NEEDLE
// DATABASE is changed by the save; NEEDLE is a text that first occurs near its end.
#include "dialogs/database_text_view.h"
#include "dialogs/find_bar.h"
#include "dialogs/view_db_window.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>

#include <cstdio>
#include <fstream>
#include <string>

namespace valdrex {
namespace {

// A field of /proc/self/status, in MiB.
double StatusMiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(field + ":"))
            return std::stod(line.substr(field.size() + 1)) / 1024;
    return 0;
}

// Peak memory from now on: the kernel forgets the earlier peak.
double ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
    return StatusMiB("VmRSS");
}

void Report(const char* what, double seconds) {
    std::printf("%-36s %8.3f s\n", what, seconds);
}

// Runs the window's events until `done` holds, returning the seconds it took and the longest
// time the window did not handle its events.
std::pair<double, double> RunUntil(const std::function<bool()>& done) {
    QElapsedTimer total, gap;
    total.start();
    gap.start();
    double longestGap = 0;
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        longestGap = std::max(longestGap, gap.nsecsElapsed() / 1e9);
        gap.restart();
    }
    return {total.nsecsElapsed() / 1e9, longestGap};
}

int ViewerRun(const std::string& path, const QString& needle) {
    const double base = ResetPeak();
    QElapsedTimer clock;
    clock.start();
    frmViewDB* viewer = ShowDatabaseViewer(path, nullptr);
    if (viewer == nullptr)
        return 1;
    QCoreApplication::processEvents();
    Report("window shown", clock.nsecsElapsed() / 1e9);
    const auto [reading, readingGap] = RunUntil([&] { return !viewer->IsReading(); });
    Report("whole file browsable", clock.nsecsElapsed() / 1e9);
    Report("  longest pause while reading", readingGap);
    auto* text = viewer->findChild<DatabaseTextView*>("txtDB");
    std::printf("%-36s %8lld\n", "lines", static_cast<long long>(text->text().lineCount()));

    clock.restart();
    QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
    text->viewport()->repaint();
    Report("Ctrl+End drawn", clock.nsecsElapsed() / 1e9);
    clock.restart();
    constexpr int kPages = 200;
    for (int page = 0; page < kPages; ++page) {
        QTest::keyClick(text, Qt::Key_PageUp);
        text->viewport()->repaint();
    }
    Report("one page up, drawn", clock.nsecsElapsed() / 1e9 / kPages);
    clock.restart();
    text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum() / 2);
    text->viewport()->repaint();
    Report("scroll bar to the middle, drawn", clock.nsecsElapsed() / 1e9);

    QTest::keyClick(text, Qt::Key_Home, Qt::ControlModifier);
    viewer->findChild<QAction*>("mnuVFind")->trigger();
    auto* findBox = viewer->findChild<QLineEdit*>("txtFind");
    findBox->setText(needle);
    clock.restart();
    viewer->findChild<QAction*>("mnuVFindNext")->trigger();
    const auto* find = viewer->findChild<FindBar*>("fraFind");
    const auto [found, findGap] = RunUntil([&] { return !find->IsSearching(); });
    Report("find near the end", found);
    Report("  longest pause while finding", findGap);
    std::printf("%-36s %8lld of %lld\n", "  found on line",
                static_cast<long long>(text->cursorPosition().line),
                static_cast<long long>(text->text().lineCount()));

    QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(text, "edited");
    clock.restart();
    viewer->findChild<QAction*>("mnuVUpdate")->trigger();
    Report("save after one edit", clock.nsecsElapsed() / 1e9);
    std::printf("%-36s %8.0f MiB\n", "peak memory growth", StatusMiB("VmHWM") - base);
    std::printf("%-36s %8.0f MiB\n", "file",
                QFile(QString::fromStdString(path)).size() / 1048576.0);
    return 0;
}

int PlainTextEditRun(const std::string& path) {
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.show();
    QCoreApplication::processEvents();
    const double base = ResetPeak();
    QElapsedTimer clock;
    clock.start();
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QTextCursor end(edit.document());
    double longestGap = 0;
    while (!file.atEnd()) {
        QElapsedTimer chunk;
        chunk.start();
        QByteArray bytes = file.read(1 << 20);
        while (!bytes.endsWith('\n') && !file.atEnd())
            bytes += file.read(4096);
        end.movePosition(QTextCursor::End);
        end.insertText(QString::fromLatin1(bytes).replace("\r\n", "\n"));
        QCoreApplication::processEvents();
        longestGap = std::max(longestGap, chunk.nsecsElapsed() / 1e9);
    }
    Report("plain-text editor: whole file in", clock.nsecsElapsed() / 1e9);
    Report("  longest pause while feeding", longestGap);
    std::printf("%-36s %8.0f MiB\n", "  peak memory growth", StatusMiB("VmHWM") - base);
    return 0;
}

} // namespace
} // namespace valdrex

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == "--plain-text-edit")
        return valdrex::PlainTextEditRun(args[1].toStdString());
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: viewer_bench [--plain-text-edit] DATABASE NEEDLE\n");
        return 2;
    }
    const int status = valdrex::ViewerRun(args[0].toStdString(), args[1]);
    std::fflush(stdout);
    std::_Exit(status); // the viewer's text is not worth freeing
}
