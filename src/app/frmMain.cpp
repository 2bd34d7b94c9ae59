#include "app/frmMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QUndoStack>

#include "app/AppTexts.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"

frmMain::frmMain(std::unique_ptr<CommonDialog> dialog, std::unique_ptr<Prompts> prompts,
                 std::unique_ptr<UrlOpener> links, std::unique_ptr<ImportOptionsAsker> importOptions, QWidget* parent)
    : QWidget(parent),
      dialog_(std::move(dialog)),
      prompts_(std::move(prompts)),
      links_(std::move(links)),
      importOptions_(std::move(importOptions)) {
    undoStack_ = new QUndoStack(this);
    undoStack_->setUndoLimit(kUndoLimit);
    BuildControls();
    BuildMenus();
    setFixedSize(sizeHint());  // the client area's fixed size, and the menu bar's height above it
    Startup();
    // Connected only now: choosing the About page while building is not a tab click.
    ConnectCommands();
    dialog_->RememberPlacesIn(&places_);
    // Where the window stood last time, if that place is still on a screen.
    if (const std::optional<QPoint> position = places_.WindowPosition()) {
        if (QGuiApplication::screenAt(*position) != nullptr) move(*position);
    }
}

frmMain::~frmMain() = default;

void frmMain::Startup() {
    // 1. The four status bar panels, in order.
    messagePanel_ = new QLabel(QString::fromUtf8(AppTexts::kReady));
    messagePanel_->setObjectName(QStringLiteral("Panel1"));
    messagePanel_->setFixedWidth(200);
    progressPanel_ = new QProgressBar;
    progressPanel_->setObjectName(QStringLiteral("Panel2"));
    progressPanel_->setRange(0, 100);
    progressPanel_->reset();  // empty until a command sets a value
    progressPanel_->setTextVisible(false);
    progressPanel_->setFixedWidth(100);
    auto* panel3 = new QLabel;
    panel3->setObjectName(QStringLiteral("Panel3"));
    panel3->setFixedWidth(100);
    auto* panel4 = new QLabel(QString::fromUtf8(AppTexts::kCopyright));
    panel4->setObjectName(QStringLiteral("Panel4"));
    panel4->setFixedWidth(100);
    for (QWidget* panel : {static_cast<QWidget*>(messagePanel_), static_cast<QWidget*>(progressPanel_),
                           static_cast<QWidget*>(panel3), static_cast<QWidget*>(panel4)}) {
        statusBar_->addWidget(panel);
    }

    // 2. A red progress display.
    QPalette red = progressPanel_->palette();
    red.setColor(QPalette::Highlight, QColor(255, 0, 0));
    progressPanel_->setPalette(red);

    // 3. to 7.
    LetEventsThrough();
    dialog_->Flags = CommonDialog::kExplorerHideReadOnly;
    // Where a file dialog starts when nothing better is known: the folder the program was
    // started in, else the home folder; never the program's own folder (for an installed
    // program a system folder, where a mod must not be written).
    const QFileInfo startedIn(QDir::currentPath());
    dialog_->InitDir = (startedIn.isDir() ? startedIn.absoluteFilePath() : QDir::homePath()).toStdString();
    modPalettes::InitGamePalette();
    SetMessage(AppTexts::kReady);
}

classUnitGAF& frmMain::UnitGAF() {
    if (!unitGAF_) {
        // Loads yield to pending events after every pixel so that the window stays alive.
        unitGAF_ = std::make_unique<classUnitGAF>([] { QCoreApplication::processEvents(); });
    }
    return *unitGAF_;
}

// A note in the status bar hides the panels while it shows; a command's own status text or
// progress ends the note at once, so that they are never hidden.
void frmMain::SetMessage(const char* text) {
    statusBar_->clearMessage();
    messagePanel_->setText(QString::fromUtf8(text));
}

void frmMain::SetProgress(int percent) {
    statusBar_->clearMessage();
    progressPanel_->setValue(percent);
}

void frmMain::ShowNote(const QString& note) { statusBar_->showMessage(note, kNoteTimeout); }

void frmMain::LetEventsThrough() { QCoreApplication::processEvents(); }

MsgAnswer frmMain::Tell(const std::string& text, const std::string& title, MsgIcon icon,
                        const std::string& informative) {
    if (closePending_ || unloaded_) return MsgAnswer::OK;
    return prompts_->MsgBox(text, title, icon, MsgButtons::OK, informative);
}

void frmMain::OpenLink(const std::string& url) { links_->Open(url); }

void frmMain::closeEvent(QCloseEvent* event) {
    if (closeConfirmed_) {
        event->accept();
        Unload();
        return;
    }
    // A second request while the question is open, or after the close was confirmed and is
    // waiting for a paused command, needs no second question.
    if (askingToClose_ || closePending_) {
        event->ignore();
        return;
    }
    // Only unsaved work is worth the question: the history is clean at start, once the GAF file
    // is written or the unit exported, and when undo or redo comes back to such a point.
    if (!undoStack_->isClean()) {
        askingToClose_ = true;
        const MsgAnswer answer = prompts_->MsgBox(AppTexts::kQuitQuestion, AppTexts::kQuitTitle, MsgIcon::Question,
                                                  MsgButtons::YesNo, std::string());
        askingToClose_ = false;
        if (answer != MsgAnswer::Yes) {
            event->ignore();
            return;
        }
    }
    if (runningCommands_ > 0) {
        // A command is paused below us and still uses the picture set and the picture boxes:
        // keep everything, only hide, and finish when that command returns.
        closePending_ = true;
        event->ignore();
        hide();
        return;
    }
    closeConfirmed_ = true;
    event->accept();
    Unload();
}

void frmMain::FinishPendingClose() {
    closePending_ = false;
    closeConfirmed_ = true;
    close();
    if (!unloaded_) Unload();  // a hidden window may not be sent its close event again
}

void frmMain::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    places_.RememberWindowPosition(pos());
    LetEventsThrough();
    emit unloaded();
}
