#include "core/failure.h"
#include "database/cp1252.h"
#include "dialogs/database_text_view.h"
#include "file_bytes.h"
#include "gui_test.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTimer>

#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace valdrex {
namespace {

// Reads `fd` to its end, the progress counting `length` bytes.
DatabaseText Read(int fd, std::uint64_t length) {
    struct stat st {};
    EXPECT_EQ(::fstat(fd, &st), 0);
    std::atomic<std::uint64_t> progress{0};
    const std::atomic<bool> stop{false};
    DatabaseText text = DatabaseText::Read(fd, st, progress, stop);
    EXPECT_EQ(progress, length);
    return text;
}

DatabaseText TextOf(const std::string& bytes) {
    QTemporaryFile file;
    EXPECT_TRUE(file.open());
    Put(file.fileName().toStdString(), bytes);
    const int fd = ::open(file.fileName().toLocal8Bit().constData(), O_RDONLY);
    DatabaseText text = Read(fd, bytes.size());
    ::close(fd);
    return text;
}

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};
constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier, kShift = Qt::ShiftModifier,
                                kCtrl = Qt::ControlModifier;
constexpr Key kSelectAll{Qt::Key_A, kCtrl}, kCut{Qt::Key_X, kCtrl}, kPaste{Qt::Key_V, kCtrl},
    kUndo{Qt::Key_Z, kCtrl}, kRedo{Qt::Key_Z, kCtrl | kShift};

// The viewer's text next to Qt's plain-text editor, the oracle, fed the same keys.
class BesideAnEditor : public ::testing::Test {
  protected:
    void Start(const std::string& bytes) {
        view_.setText(TextOf(bytes));
        oracle_.setPlainText(QString::fromStdString(DecodeCp1252(bytes)).replace("\r\n", "\n"));
        oracle_.moveCursor(QTextCursor::End);
        QTest::keyClick(&view_, Qt::Key_End, kCtrl);
    }
    // The key to both; what each leaves on the clipboard must agree too.
    void Press(const Key& key) {
        QTest::keyClick(&view_, key.key, key.modifiers);
        const QString copied = QGuiApplication::clipboard()->text();
        QTest::keyClick(&oracle_, key.key, key.modifiers);
        EXPECT_EQ(copied, QGuiApplication::clipboard()->text());
    }
    // Which items of the context menu the widget pops up are enabled, "1" or "0" each, Undo to
    // Delete; the menu is then closed. (The viewer's menu runs its own loop, the editor's not.)
    static QString MenuOffers(QWidget* widget) {
        QString offers;
        const auto take = [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (const QAction* action : menu->actions())
                    if (!action->isSeparator())
                        offers += action->isEnabled() ? '1' : '0';
                menu->close();
            }
        };
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, take);
        poll.start(1);
        const QPoint at(4, 4);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, widget->mapToGlobal(at));
        QCoreApplication::sendEvent(widget, &event);
        take();
        return offers.left(6);
    }
    // Where the mouse points at `share` of the character at `column` of `line` (or of a place
    // for a character past its end), in each widget's viewport; nothing when either does not
    // show it.
    std::optional<std::pair<QPoint, QPoint>> PointsAt(qint64 line, qsizetype column,
                                                      qreal share) const {
        const int width = static_cast<int>(QFontMetricsF(view_.font()).horizontalAdvance(u'M'));
        const QTextBlock block = oracle_.document()->findBlockByNumber(static_cast<int>(line));
        const auto theirs = [&](qsizetype at) {
            const qsizetype past = std::max<qsizetype>(0, at - (block.length() - 1));
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + static_cast<int>(at - past));
            const QRect rect = oracle_.cursorRect(cursor);
            return QPoint(rect.x() + static_cast<int>(past) * width, rect.center().y());
        };
        const auto mine = [&](qsizetype at) {
            const QRect rect = view_.cursorRect({line, at});
            return QPoint(rect.x(), rect.center().y());
        };
        const auto within = [&](QPoint start, QPoint next) {
            return start + QPoint(static_cast<int>(share * (next.x() - start.x())), 0);
        };
        const QPoint a = within(mine(column), mine(column + 1));
        const QPoint b = within(theirs(column), theirs(column + 1));
        if (!view_.viewport()->rect().contains(a) || !oracle_.viewport()->rect().contains(b))
            return std::nullopt;
        return std::pair{a, b};
    }
    // A click (with Shift, to extend the selection), a drag from `from`, the mouse passing
    // by without a button, or a double click, the same in both.
    void Mouse(int what, std::pair<QPoint, QPoint> at, std::pair<QPoint, QPoint> from = {}) {
        const std::tuple<QWidget*, QPoint, QPoint> both[] = {
            {view_.viewport(), at.first, from.first}, {oracle_.viewport(), at.second, from.second}};
        for (const auto& [w, p, start] : both) {
            if (what < 2) {
                QTest::mouseClick(w, Qt::LeftButton, what ? kShift : kNone, p);
            } else if (what == 2) {
                QTest::mousePress(w, Qt::LeftButton, kNone, start);
                QTest::mouseMove(w, p);
                QTest::mouseRelease(w, Qt::LeftButton, kNone, p);
            } else {
                what == 3 ? QTest::mouseMove(w, p)
                          : QTest::mouseDClick(w, Qt::LeftButton, kNone, p);
            }
        }
    }
    TextPosition OraclePosition(int at) const {
        const QTextBlock block = oracle_.document()->findBlock(at);
        return {block.blockNumber(), at - block.position()};
    }
    // The same text, selection and cursor.
    void ExpectSame(const std::string& note) {
        ASSERT_EQ(view_.toPlainText(), oracle_.toPlainText()) << note;
        const TextPosition anchor = OraclePosition(oracle_.textCursor().anchor());
        const TextPosition at = OraclePosition(oracle_.textCursor().position());
        ASSERT_EQ(view_.selectionStart(), std::min(anchor, at)) << note;
        ASSERT_EQ(view_.selectionEnd(), std::max(anchor, at)) << note;
        ASSERT_EQ(view_.cursorPosition(), at) << note;
        ASSERT_TRUE(view_.viewport()->rect().contains(view_.cursorRect(at))) << note;
    }

    DatabaseTextView view_;
    QPlainTextEdit oracle_;
};

TEST_F(BesideAnEditor, KeysTypeDeleteMoveSelectCutAndPasteAlike) {
    std::vector<Key> keys;
    for (const Qt::Key move : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End})
        for (const Qt::KeyboardModifiers with : {kNone, kShift, kCtrl, kCtrl | kShift})
            keys.push_back({move, with});
    for (const Qt::Key move : {Qt::Key_Up, Qt::Key_Down})
        for (const Qt::KeyboardModifiers with : {kNone, kShift})
            keys.push_back({move, with});
    for (const Qt::Key type : {Qt::Key_A, Qt::Key_Space, Qt::Key_Period, Qt::Key_Semicolon,
                               Qt::Key_Tab, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete})
        keys.push_back({type});
    for (const Qt::Key command :
         {Qt::Key_A, Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_Backspace, Qt::Key_Delete})
        keys.push_back({command, kCtrl});
    keys.push_back({Qt::Key_B, kShift});
    // Moving up and down keeps to the same place across: the same font and tab stops, and
    // lines as long as they are.
    oracle_.setFont(view_.font());
    oracle_.setLineWrapMode(QPlainTextEdit::NoWrap);
    oracle_.setTabStopDistance(8 * QFontMetricsF(view_.font()).horizontalAdvance(u'M'));
    for (QWidget* widget : {static_cast<QWidget*>(&view_), static_cast<QWidget*>(&oracle_)}) {
        widget->resize(320, 160);
        widget->show();
    }
    std::mt19937 random(27);
    for (int round = 0; round < 40; ++round) {
        Start(round % 2 ? "first line\r\nse\tcond\r\n\r\nla\tst\tof all, and far longer than "
                          "the width of the window"
                        : "");
        std::string done;
        for (int k = 0; k < 40; ++k) {
            if (random() % 4 == 0) {
                // Somewhere near the cursor, within a line or past its end.
                TextPosition place;
                const auto near = [&] {
                    place.line = std::clamp<qint64>(view_.cursorPosition().line +
                                                        static_cast<int>(random() % 5) - 2,
                                                    0, view_.text().lineCount() - 1);
                    place.column = random() % (view_.text().lineLength(place.line) + 3);
                    done +=
                        "(" + std::to_string(place.line) + "," + std::to_string(place.column) + ")";
                    const bool after = random() % 2;
                    const auto points = PointsAt(place.line, place.column, after ? 0.75 : 0.25);
                    place.column += after; // the place between characters nearest to it
                    return points;
                };
                const int what = static_cast<int>(random() % 4);
                done += "mouse" + std::to_string(what);
                const auto at = near(), from = near();
                // A drag from the selection would move the selected text: the viewer leaves
                // that out.
                place.column = std::min(place.column, view_.text().lineLength(place.line));
                const bool inSelection = view_.hasSelection() && view_.selectionStart() <= place &&
                                         place <= view_.selectionEnd();
                if (at && from && !(what == 2 && inSelection))
                    Mouse(what, *at, *from);
                done += " ";
            } else {
                const Key& key = keys[random() % keys.size()];
                done += std::to_string(&key - keys.data()) + " ";
                Press(key);
            }
            ASSERT_NO_FATAL_FAILURE(ExpectSame(done));
        }
    }
    // A double click on a letter or digit selects the word.
    Start("x^2 - 4\t= 0; S={ 20;-2}  ab_c\xE9");
    for (const qsizetype column : {0, 2, 6, 13, 17, 18, 21, 25, 27, 29}) {
        QTest::keyClick(&view_, Qt::Key_Home);
        QTest::keyClick(&oracle_, Qt::Key_Home);
        Mouse(4, *PointsAt(0, column, 0.25));
        ASSERT_NO_FATAL_FAILURE(ExpectSame("double click " + std::to_string(column)));
    }
}

// Undo takes back a run of typing, of Backspace or of Delete at once, and each other change
// by itself.
TEST_F(BesideAnEditor, UndoAndRedoTakeTheSameSteps) {
    const std::pair<const char*, std::vector<Key>> cases[] = {
        {"x", {{Qt::Key_A}, {Qt::Key_B}, {Qt::Key_Space}, {Qt::Key_C}}},
        {"abcdef", {{Qt::Key_Backspace}, {Qt::Key_Backspace}, {Qt::Key_Backspace}}},
        {"abcdef", {{Qt::Key_Home}, {Qt::Key_Delete}, {Qt::Key_Delete}, {Qt::Key_Delete}}},
        {"x", {{Qt::Key_A}, {Qt::Key_B}, {Qt::Key_Backspace}}},
        {"x", {{Qt::Key_Return}, {Qt::Key_A}, {Qt::Key_B}}},
        {"x", {{Qt::Key_A}, {Qt::Key_Return}, {Qt::Key_B}}},
        {"xyz", {{Qt::Key_Left, kShift}, {Qt::Key_A}, {Qt::Key_B}}},
        {"xyz", {{Qt::Key_A}, {Qt::Key_Left}, {Qt::Key_B}}},
        {"xyz", {{Qt::Key_A}, {Qt::Key_Left}, {Qt::Key_Right}, {Qt::Key_B}}},
        {"ab\r\ncd", {{Qt::Key_Home}, {Qt::Key_Backspace}, {Qt::Key_Backspace}}},
        {"ab\r\ncd", {{Qt::Key_Home}, {Qt::Key_Backspace}, {Qt::Key_A}}},
        {"xyz", {{Qt::Key_Left, kShift}, kCut, {Qt::Key_A}}},
        {"xyz", {kSelectAll, {Qt::Key_A}, {Qt::Key_B}}},
        {"xyz", {{Qt::Key_Left, kShift}, {Qt::Key_Delete}, {Qt::Key_Backspace}}},
        {"x", {{Qt::Key_A}, kUndo, kRedo, {Qt::Key_B}}},
        {"x", {{Qt::Key_A}, {Qt::Key_B}, kUndo, {Qt::Key_C}}},
        {"a\r\nb", {kSelectAll, kCut, kPaste, {Qt::Key_A}, kPaste}},
    };
    for (const auto& [start, keys] : cases) {
        Start(start);
        std::string pressed = start;
        for (const Key& key : keys) {
            Press(key);
            pressed += " " + std::to_string(key.key);
            EXPECT_EQ(MenuOffers(&view_), MenuOffers(&oracle_)) << pressed;
        }
        for (int undo = 0; undo < 4; ++undo) {
            Press(kUndo);
            ASSERT_NO_FATAL_FAILURE(ExpectSame(pressed + " undo " + std::to_string(undo)));
            EXPECT_EQ(MenuOffers(&view_), MenuOffers(&oracle_)) << pressed << " undo " << undo;
        }
        for (int redo = 0; redo < 4; ++redo) {
            Press(kRedo);
            ASSERT_EQ(view_.toPlainText(), oracle_.toPlainText()) << pressed << " redo " << redo;
        }
    }
}

// The text as a plain string: lines joined by '\n', lone CR and LF shown as symbols.
QString Shown(const std::string& bytes) {
    QString shown;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes.compare(i, 2, "\r\n") == 0)
            shown += u'\n', ++i;
        else if (bytes[i] == '\r' || bytes[i] == '\n')
            shown += QChar(bytes[i] == '\r' ? 0x240D : 0x240A);
        else
            shown += QString::fromStdString(DecodeCp1252(bytes.substr(i, 1)));
    }
    return shown;
}
std::string Written(QString shown) {
    shown.replace(u'\n', "\r\n").replace(QChar(0x240D), u'\r').replace(QChar(0x240A), u'\n');
    return EncodeCp1252(shown.toStdString());
}
std::string Collected(const ByteChunks& chunks) {
    std::string bytes;
    for (std::string_view chunk = chunks(); !chunk.empty(); chunk = chunks())
        bytes += chunk;
    return bytes;
}

// Random edits, appends, undo, redo and saves, checked against the same done to a string.
// A drag held below the text goes on selecting, the view scrolling, until the button is let go.
TEST(DatabaseTextView, ADragHeldBelowTheTextGoesOnSelecting) {
    std::string bytes;
    for (int i = 0; i < 200; ++i)
        bytes += "line " + std::to_string(i) + "\r\n";
    DatabaseTextView view;
    view.setText(TextOf(bytes));
    view.resize(300, 150);
    view.show();
    QWidget* port = view.viewport();
    const QPoint below(5, port->height() + 20);
    QTest::mousePress(port, Qt::LeftButton, kNone, QPoint(5, 5));
    QTest::mouseMove(port, below);
    const qint64 moved = view.cursorPosition().line;
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.cursorPosition().line > moved + 2; }, 2000));
    QTest::mouseRelease(port, Qt::LeftButton, kNone, below);
    const qint64 released = view.cursorPosition().line;
    QTest::qWait(200);
    EXPECT_EQ(view.cursorPosition().line, released);
    EXPECT_EQ(view.selectionStart(), TextPosition{});
    EXPECT_GT(view.verticalScrollBar()->value(), 0);
}

TEST(DatabaseText, EditsUndoRedoAndSavesAgreeWithAString) {
    const char* const fileBytes[] = {"a",    "B",    " ",    "\t",   "\r",   "\n",
                                     "\r\n", "\xB7", "\xC9", "\xE9", "\x8A", "\x9A"};
    const QString typed[] = {"a",      "\u00C9", "\u00E9", "\n",     "\r\n", "\r",
                             "\u2029", "\u03C0", "\t",     "\u240D", "xy"};
    std::mt19937 random(5);
    const auto pick = [&](auto& list) { return list[random() % std::size(list)]; };
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        for (int n = random() % 30; n > 0; --n)
            bytes += pick(fileBytes);
        DatabaseText text = TextOf(bytes);
        std::vector<QString> states{Shown(bytes)};
        std::size_t now = 0;
        QString saved = states[0];
        const auto position = [&](qsizetype offset) {
            const QString before = states[now].left(offset);
            const qsizetype lineStart = before.lastIndexOf(u'\n') + 1;
            return TextPosition{before.count(u'\n'), offset - lineStart};
        };
        for (int step = 0; step < 30; ++step) {
            SCOPED_TRACE(testing::Message() << testing::PrintToString(bytes) << " step " << step);
            const QString& shown = states[now];
            switch (random() % 6) {
            case 0:
            case 1: {
                qsizetype a = random() % (shown.size() + 1), b = random() % (shown.size() + 1);
                if (a > b)
                    std::swap(a, b);
                QString insert;
                for (int n = random() % 3; n > 0; --n)
                    insert += pick(typed);
                text.replace(position(a), position(b), insert);
                static const QRegularExpression lineEnd("\r\n?|\u2029");
                states.resize(++now);
                states.push_back(QString(shown).replace(a, b - a, insert.replace(lineEnd, "\n")));
                break;
            }
            case 2: {
                const std::string appended = std::string(pick(fileBytes)) + pick(fileBytes);
                text.appendFileBytes(appended);
                states.resize(++now);
                states.push_back(shown + Shown(appended));
                break;
            }
            case 3:
                now -= text.undo().has_value();
                break;
            case 4:
                now += text.redo().has_value();
                break;
            default:
                text.markSaved();
                saved = shown;
            }
            ASSERT_EQ(text.text({}, text.end()), states[now]);
            ASSERT_EQ(text.lineCount(), states[now].count(u'\n') + 1);
            ASSERT_EQ(Collected(text.bytes()), Written(states[now]));
            const SeenFile seen = text.saved();
            ASSERT_EQ(Collected(seen.bytes), Written(saved));
            ASSERT_EQ(seen.length, Written(saved).size());
            ASSERT_EQ(text.isModified(), states[now] != saved);
            ASSERT_EQ(text.canUndo(), now > 0);
            ASSERT_EQ(text.canRedo(), now + 1 < states.size());
        }
    }
}

// Find in lines read from the file and in edited lines, against QString's own search.
TEST(DatabaseText, FindsAsQStringFinds) {
    const std::string bytes = "x^2 - \xC9t\xE9 \x8A\x9A ab AB aB\r\nno match\rhere\r\n";
    DatabaseText text = TextOf(bytes + bytes);
    text.replace({1, 0}, {1, 0}, "edited \u03C0 Ab \u00E9T\u00C9 ");
    const QString needles[] = {"ab", "Ab", "\u00E9t\u00E9", "\u0161\u0160", "\u03C0", "\u240Dhere",
                               "zz", "b"};
    for (qint64 line = 0; line < text.lineCount(); ++line) {
        const QString shown = text.lineText(line);
        for (const QString& needle : needles)
            for (const bool matchCase : {false, true})
                for (qsizetype from = 0; from <= shown.size(); ++from) {
                    const SearchNeedle search(needle, matchCase);
                    const Qt::CaseSensitivity cs =
                        matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
                    const qsizetype next = shown.indexOf(needle, from, cs);
                    const qsizetype previous =
                        from == 0 ? -1 : shown.lastIndexOf(needle, from - 1, cs);
                    EXPECT_EQ(text.find(line, search, from, false).value_or(-1), next)
                        << line << " " << needle.toStdString() << " " << from;
                    EXPECT_EQ(text.find(line, search, from, true).value_or(-1), previous)
                        << line << " " << needle.toStdString() << " " << from;
                }
    }
}

// A pipe or device is read to its end rather than to the length it has (none).
TEST(DatabaseText, APipeIsReadToItsEnd) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "a\r\nb", 4), 4);
    ::close(ends[1]);
    const DatabaseText text = Read(ends[0], 4);
    ::close(ends[0]);
    EXPECT_EQ(text.text({}, text.end()), "a\nb");
    const int zero = ::open("/dev/zero", O_RDONLY); // never ends
    EXPECT_THROW(Read(zero, 0), RuntimeFailure);
    ::close(zero);
}

// Typing goes on in place in the line it made, except where the saved file still refers to
// that line.
TEST(DatabaseText, TypingAfterASaveLeavesTheSavedTextAlone) {
    DatabaseText text = TextOf("x");
    text.replace({0, 1}, {0, 1}, "a", true);
    text.replace({0, 2}, {0, 2}, "b", true);
    text.markSaved();
    text.replace({0, 3}, {0, 3}, "c", true);
    EXPECT_EQ(Collected(text.saved().bytes), "xab");
    EXPECT_EQ(Collected(text.bytes()), "xabc");
    EXPECT_EQ(text.undo(), (TextPosition{0, 1}));
    EXPECT_EQ(Collected(text.bytes()), "x");
    EXPECT_TRUE(text.isModified());
    text.redo();
    EXPECT_EQ(Collected(text.bytes()), "xabc");
    EXPECT_EQ(Collected(text.saved().bytes), "xab");
}

} // namespace
} // namespace valdrex
