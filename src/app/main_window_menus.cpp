// The main window's menu tree, the enabling rules that run when a menu opens, and the Edit
// menu's commands.
#include "app/edit_commands.h"
#include "app/main_window.h"
#include "app/selection_keeper.h"
#include "app/shortcut_guard.h"
#include "dialogs/message_box.h"
#include "dialogs/number_box.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenuBar>

namespace valdrex {
namespace {

QMenu* AddMenu(QWidget* parent, const QString& name, const QString& caption) {
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    if (auto* bar = qobject_cast<QMenuBar*>(parent))
        bar->addMenu(menu);
    else
        qobject_cast<QMenu*>(parent)->addMenu(menu);
    return menu;
}

QAction* AddItem(QMenu* menu, const QString& name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setShortcut(shortcut);
    return item;
}

void AddSeparator(QMenu* menu, const QString& name) {
    menu->addSeparator()->setObjectName(name);
}

QKeySequence Ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}

} // namespace

void frmMain::BuildMenus() {
    QMenuBar* bar = menuBar();

    mnuFile = AddMenu(bar, QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileApri = AddItem(mnuFile, QStringLiteral("mnuFileApri"), QStringLiteral("&Edit"));
    mnuFileQuit = AddItem(mnuFile, QStringLiteral("mnuFileQuit"), QStringLiteral("&Quit"));

    mnuEdit = AddMenu(bar, QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    mnuEditUndo =
        AddItem(mnuEdit, QStringLiteral("mnuEditUndo"), QStringLiteral("&Undo"), Ctrl(Qt::Key_Z));
    mnuEditRedo =
        AddItem(mnuEdit, QStringLiteral("mnuEditRedo"), QStringLiteral("&Redo"), Ctrl(Qt::Key_Y));
    mnuEditRedo->setShortcuts({Ctrl(Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    AddSeparator(mnuEdit, QStringLiteral("mnuEditL1"));
    mnuEditCut =
        AddItem(mnuEdit, QStringLiteral("mnuEditCut"), QStringLiteral("&Cut"), Ctrl(Qt::Key_X));
    mnuEditCopy = AddMenu(mnuEdit, QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"));
    mnuCopySelection = AddItem(mnuEditCopy, QStringLiteral("mnuCopySelection"),
                               QStringLiteral("&Selected text"), Ctrl(Qt::Key_C));
    mnuCopyAll = AddItem(mnuEditCopy, QStringLiteral("mnuCopyAll"), QStringLiteral("&All text"),
                         Ctrl(Qt::Key_A));
    mnuEditPaste =
        AddItem(mnuEdit, QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"), Ctrl(Qt::Key_V));
    mnuEditPasteEquation = AddItem(mnuEdit, QStringLiteral("mnuEditPasteEquation"),
                                   QStringLiteral("Paste as e&quation"),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    mnuEditDelete = AddItem(mnuEdit, QStringLiteral("mnuEditDelete"),
                            QStringLiteral("&Set all to zero"), Ctrl(Qt::Key_S));
    AddSeparator(mnuEdit, QStringLiteral("mnuEditL2"));
    mnuEditLine = AddItem(mnuEdit, QStringLiteral("mnuEditLine"), QStringLiteral("&Equation line"),
                          Ctrl(Qt::Key_L));

    mnuSolve = AddMenu(bar, QStringLiteral("mnuSolve"), QStringLiteral("&Maths"));
    AddMethodItems(mnuSolve, MenuPlace::AboveApproximate);
    AddSeparator(mnuSolve, QStringLiteral("mnuSolveL2"));
    mnuSolveApproximate = AddMenu(mnuSolve, QStringLiteral("mnuSolveApproximate"),
                                  QStringLiteral("&Approximate roots"));
    AddMethodItems(mnuSolveApproximate, MenuPlace::Approximate);
    AddMethodItems(mnuSolve, MenuPlace::BelowApproximate);
    AddSeparator(mnuSolve, QStringLiteral("mnuSolveL1"));
    mnuSolveTest =
        AddItem(mnuSolve, QStringLiteral("mnuSolveTest"), QStringLiteral("&Test many numbers..."));
    mnuSolvePlot =
        AddItem(mnuSolve, QStringLiteral("mnuSolvePlot"), QStringLiteral("&Plot"), Ctrl(Qt::Key_P));

    mnuCustom = AddMenu(bar, QStringLiteral("mnuCustom"), QStringLiteral("&Options"));
    mnuOptions =
        AddItem(mnuCustom, QStringLiteral("mnuOptions"), QStringLiteral("&Preferences..."));

    mnuHelp = AddMenu(bar, QStringLiteral("mnuHelp"), QStringLiteral("&?"));
    mnuHelpHelp = AddItem(mnuHelp, QStringLiteral("mnuHelpHelp"), QStringLiteral("&Help..."));
    mnuHelpAbout = AddItem(mnuHelp, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About..."));
}

void frmMain::AddMethodItems(QMenu* menu, MenuPlace place) {
    for (const MethodRow& row : MethodTable()) {
        if (row.menuPlace != place)
            continue;
        const QKeySequence shortcut =
            row.ctrlKey != 0 ? Ctrl(static_cast<Qt::Key>(row.ctrlKey)) : QKeySequence();
        QAction* item = AddItem(menu, QString::fromUtf8(row.objectName),
                                QString::fromUtf8(row.caption), shortcut);
        methodItems_.push_back({&row, item});
        connect(item, &QAction::triggered, this, [this, &row, item] { SolveWith(row, item); });
    }
}

void frmMain::ConnectMenus() {
    connect(mnuFileQuit, &QAction::triggered, this, &frmMain::mnuFileQuit_Click);

    connect(mnuEdit, &QMenu::aboutToShow, this, &frmMain::mnuEdit_Click);
    connect(mnuEditCut, &QAction::triggered, this, &frmMain::mnuEditCut_Click);
    connect(mnuCopySelection, &QAction::triggered, this, &frmMain::mnuCopySelection_Click);
    connect(mnuCopyAll, &QAction::triggered, this, &frmMain::mnuCopyAll_Click);
    connect(mnuEditPaste, &QAction::triggered, this, &frmMain::mnuEditPaste_Click);
    connect(mnuEditDelete, &QAction::triggered, this, &frmMain::mnuEditDelete_Click);
    connect(mnuEditUndo, &QAction::triggered, this, &frmMain::mnuEditUndo_Click);
    connect(mnuEditRedo, &QAction::triggered, this, &frmMain::mnuEditRedo_Click);
    connect(mnuEditLine, &QAction::triggered, this, [this] {
        txtEquationLine->setFocus(Qt::ShortcutFocusReason);
        txtEquationLine->selectAll();
    });
    connect(mnuEditPasteEquation, &QAction::triggered, this,
            [this] { EnterEquationLine(QGuiApplication::clipboard()->text()); });

    connect(mnuSolve, &QMenu::aboutToShow, this, &frmMain::mnuSolve_Click);

    // The toolkit opens no menu for a shortcut key, so the enabling rules run just before it
    // looks the key up.
    auto* guard = new ShortcutGuard(
        this,
        [this](const QWidget* focus, Qt::Key key, bool shift) {
            return IsWindowShortcut(focus, key, shift);
        },
        [this] {
            mnuEdit_Click();
            mnuSolve_Click();
        },
        this);
    qApp->installEventFilter(guard);
    shortcutGuard_ = guard;
    auto* keeper = new SelectionKeeper(this);
    for (QLineEdit* box : findChildren<QLineEdit*>())
        box->installEventFilter(keeper);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { TrackActiveControl(now); });
}

bool frmMain::IsWindowShortcut(const QWidget* focus, Qt::Key key, bool shift) const {
    switch (key) {
    case Qt::Key_A:
    case Qt::Key_C:
    case Qt::Key_X:
    case Qt::Key_S:
    case Qt::Key_F:
    case Qt::Key_R:
    case Qt::Key_P:
    case Qt::Key_L:
        return !shift;
    case Qt::Key_V:
        return true; // with Shift: paste as an equation
    case Qt::Key_Z:
    case Qt::Key_Y:
        // A coefficient box's edits are steps of the grid's history, so its own undo would
        // repeat them and lose track whenever the program sets its text. The other boxes' typing
        // is no grid step: they keep their own undo.
        return (key == Qt::Key_Z || !shift) && (!IsTextBox(focus) || IsCoefficientBox(focus));
    default:
        return false;
    }
}

bool frmMain::IsCoefficientBox(const QWidget* widget) const {
    return std::find(txtCoef.begin(), txtCoef.end(), widget) != txtCoef.end();
}

QWidget* frmMain::ActiveControl() const {
    return activeControl_ ? activeControl_.data() : focusWidget();
}

void frmMain::TrackActiveControl(QWidget* now) {
    if (now != nullptr && now->window() == this && !qobject_cast<QMenuBar*>(now))
        activeControl_ = now;
}

void frmMain::mnuEdit_Click() {
    const QString clipboard = QGuiApplication::clipboard()->text();
    const EditMenuState menu = EditMenuEnabling(ActiveControl(), txtFactor, clipboard);
    mnuEditCut->setEnabled(menu.cut);
    mnuCopySelection->setEnabled(menu.copySelection);
    mnuEditPaste->setEnabled(menu.paste);
    mnuEditPasteEquation->setEnabled(!clipboard.isEmpty());
    mnuEditUndo->setEnabled(history_.canUndo());
    mnuEditRedo->setEnabled(history_.canRedo());
}

void frmMain::mnuEditCut_Click() {
    mnuEdit_Click();
    if (!mnuEditCut->isEnabled())
        return;
    QWidget* box = ActiveControl();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(SelectedText(box));
    ReplaceSelectedText(box, QString());
}

void frmMain::mnuCopySelection_Click() {
    mnuEdit_Click();
    if (!mnuCopySelection->isEnabled())
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(SelectedText(ActiveControl()));
}

void frmMain::mnuCopyAll_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    std::string text;
    WithoutOutdatedResults([&] { text = model_.CopyAllText(); });
    clipboard->setText(QString::fromStdString(text));
    ShowModel();
}

void frmMain::mnuEditPaste_Click() {
    mnuEdit_Click();
    if (!mnuEditPaste->isEnabled())
        return;
    QWidget* box = ActiveControl();
    const QString text = QGuiApplication::clipboard()->text();
    if (!IsPastableNumber(text.toStdString(), PasteTargetOf(box))) {
        // An equation pasted into a coefficient box, refused as a number historically, is
        // typed into the equation line instead.
        if (IsCoefficientBox(box) && text.contains(u'x', Qt::CaseInsensitive)) {
            EnterEquationLine(text);
            return;
        }
        ShowErrorBox({"The text you are trying to paste is not a valid number",
                      BoxIcon::None,
                      kAppTitle,
                      0,
                      {}},
                     this);
        return;
    }
    ReplaceSelectedText(box, text);
}

void frmMain::mnuEditDelete_Click() {
    ShowCommandResult(history_.Record(GridHistory::kCommand, [this] { return model_.ClearAll(); }));
}

void frmMain::mnuEditUndo_Click() {
    history_.Undo();
    ShowModel();
}

void frmMain::mnuEditRedo_Click() {
    history_.Redo();
    ShowModel();
}

void frmMain::mnuSolve_Click() {
    const MathsMenuState menu = MathsMenuEnabling(model_.coefficients());
    // The approximate methods are reached through their submenu, which is offered when one of
    // them is; their own items stay as they are.
    bool approximate = false;
    for (const auto& [row, item] : methodItems_) {
        if (IsApproximate(*row))
            approximate = approximate || menu.offers(row->id);
        else
            item->setEnabled(menu.offers(row->id));
    }
    mnuSolveApproximate->menuAction()->setEnabled(approximate);
}

} // namespace valdrex
