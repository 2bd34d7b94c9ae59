// The menu bar above the pages and the window's keyboard shortcuts. The menus offer commands
// beside the buttons of the pages; the pages keep every command of their own.
//
// Alt+H is the access key of the "Highlighted Picture" page, and each of the letters of "Help"
// already stands for a page, a button or another menu, so the Help menu has no access key of
// its own: F1 opens About, and the arrow keys reach the menu from the other two.

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QUndoStack>

#include "app/frmMain.h"

QAction* frmMain::AddMenuCommand(QMenu* menu, const QString& caption, const QList<QKeySequence>& shortcuts,
                                 const std::function<void()>& command) {
    QAction* action = menu->addAction(caption);
    action->setShortcuts(shortcuts);
    connect(action, &QAction::triggered, this, [command] { command(); });
    return action;
}

void frmMain::BuildMenus() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("MenuBar"));
    layout()->setMenuBar(menuBar_);

    fileMenu_ = menuBar_->addMenu(QStringLiteral("&File"));
    // Further file commands go here, each one AddMenuCommand line above the separator.
    importCommand_ =
        AddMenuCommand(fileMenu_, QStringLiteral("&Import picture..."), {QKeySequence(Qt::CTRL | Qt::Key_I)}, [this] {
            const int TAPic = tabs_->currentIndex();
            RecordImport(TAPic, [this, TAPic] { return ImportPictureCommand(TAPic); });
        });
    AddMenuCommand(fileMenu_, QStringLiteral("&Open GAF..."), {QKeySequence(Qt::CTRL | Qt::Key_O)},
                   [this] { OpenGaf(); });
    AddMenuCommand(fileMenu_, QStringLiteral("&Export unit..."), {QKeySequence(Qt::CTRL | Qt::Key_E)},
                   [this] { ExportUnitFiles(); });
    fileMenu_->addSeparator();
    AddMenuCommand(fileMenu_, QStringLiteral("E&xit"), {QKeySequence(QKeySequence::Quit)}, [this] { close(); });

    editMenu_ = menuBar_->addMenu(QStringLiteral("&Edit"));
    // Named after the step they undo or redo: "Undo Add a black cross".
    QAction* undo = undoStack_->createUndoAction(editMenu_, QStringLiteral("&Undo"));
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    QAction* redo = undoStack_->createRedoAction(editMenu_, QStringLiteral("&Redo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    editMenu_->addAction(undo);
    editMenu_->addAction(redo);

    helpMenu_ = menuBar_->addMenu(QStringLiteral("Help"));
    AddMenuCommand(helpMenu_, QStringLiteral("&About"), {QKeySequence(Qt::Key_F1)},
                   [this] { tabs_->setCurrentIndex(kAboutPage); });

    // Ctrl+1 to Ctrl+5 turn to the pages in their order.
    for (int page = 0; page < tabs_->count(); ++page) {
        auto* turn = new QAction(this);
        turn->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + page)));
        connect(turn, &QAction::triggered, this, [this, page] { tabs_->setCurrentIndex(page); });
        addAction(turn);
    }
}
