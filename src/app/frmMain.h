#pragma once
// The program's one window: five pages (the three pictures, the operations, About), a status
// bar, and one file dialog shared by every command. It owns the picture set for the whole run.
//
// Commands are click handlers that run to their end on the one thread. Picture loads let
// pending events through after every pixel, so any command (or a close) can start while
// another is paused; the window counts running commands so that a close confirmed during such
// a pause hides the window at once and finishes only when the outermost command has returned.
//
// Above the pages sits a menu bar; the pages and the status bar keep their fixed places below
// it. Every command that changes a slot is one step of the undo history.
//
// Pictures of any size and kind are imported into a picture page's slot from the File menu or
// by dropping the file onto the page; the options are asked through an ImportOptionsAsker.

#include <QKeySequence>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CommonDialog.h"
#include "app/ImportChoices.h"
#include "app/ImportOptionsAsker.h"
#include "app/Prompts.h"
#include "app/RememberedPlaces.h"
#include "app/UrlOpener.h"
#include "imagefiles/FileFailure.h"

class classUnitGAF;
class CaptionButton;
class QtPictureBox;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QStatusBar;
class QTabWidget;
class QUndoStack;
struct SlotState;

class frmMain : public QWidget {
    Q_OBJECT
public:
    static constexpr int kNormalPage = 0;
    static constexpr int kHighlightedPage = 1;
    static constexpr int kDisabledPage = 2;
    static constexpr int kOperationsPage = 3;
    static constexpr int kAboutPage = 4;

    frmMain(std::unique_ptr<CommonDialog> dialog, std::unique_ptr<Prompts> prompts, std::unique_ptr<UrlOpener> links,
            std::unique_ptr<ImportOptionsAsker> importOptions, QWidget* parent = nullptr);
    ~frmMain() override;

    // The picture set; the first call creates it.
    classUnitGAF& UnitGAF();
    bool HasUnitGAF() const { return unitGAF_ != nullptr; }

    CommonDialog& FileDialog() { return *dialog_; }
    QTabWidget* SSTab1() const { return tabs_; }
    QtPictureBox* PicUnitpic(int TAPic) const { return pages_.at(static_cast<std::size_t>(TAPic)).Box; }
    QtPictureBox* Picture1(int TAPic) const { return previews_.at(static_cast<std::size_t>(TAPic)); }
    QLabel* MessagePanel() const { return messagePanel_; }
    QProgressBar* ProgressPanel() const { return progressPanel_; }
    QStatusBar* StatusBar() const { return statusBar_; }
    QMenuBar* MenuBar() const { return menuBar_; }
    QUndoStack* UndoStack() const { return undoStack_; }

    // How many steps the undo history keeps; older ones are dropped.
    static constexpr int kUndoLimit = 100;
    // How long the status bar shows a note such as "Loaded armcamp.bmp", in milliseconds.
    static constexpr int kNoteTimeout = 4000;

    // True once a confirmed close has finished: the window is gone for good.
    bool IsUnloaded() const { return unloaded_; }

    // The hourglass for the whole application, and back. A setting, not a stack: normal
    // removes every override.
    void ShowBusyCursor();
    void ShowNormalCursor();

signals:
    // A confirmed close has finished; the program should end.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct PicturePage {
        QGroupBox* ImageFrame = nullptr;
        QtPictureBox* Box = nullptr;
        CaptionButton* LoadBmp = nullptr;
        CaptionButton* LoadPcx = nullptr;
        CaptionButton* Save = nullptr;
        QGroupBox* EffectsFrame = nullptr;
        CaptionButton* Border = nullptr;
        CaptionButton* Cross = nullptr;
        CaptionButton* Light = nullptr;
        CaptionButton* Grey = nullptr;
        CaptionButton* Grid = nullptr;
    };
    enum class PictureFormat { Bmp, Pcx };

    // Layout (frmMainLayout.cpp)
    void BuildControls();
    void BuildPicturePage(int TAPic, QWidget* page, QPoint origin);
    void BuildOperationsPage(QWidget* page, QPoint origin);
    void BuildAboutPage(QWidget* page, QPoint origin);
    void ConnectCommands();

    // The menu bar and the keyboard shortcuts (frmMainMenus.cpp)
    void BuildMenus();
    QAction* AddMenuCommand(QMenu* menu, const QString& caption, const QList<QKeySequence>& shortcuts,
                            const std::function<void()>& command);

    // Start-up and the status bar (frmMain.cpp)
    void Startup();
    void SetMessage(const char* text);
    void SetProgress(int percent);
    void LetEventsThrough();
    // A message box, unless the window is already closing: a command that finishes after the
    // user confirmed the close has nobody left to tell. informative, when given, is the reason,
    // shown below the text.
    MsgAnswer Tell(const std::string& text, const std::string& title, MsgIcon icon,
                   const std::string& informative = {});
    void OpenLink(const std::string& url);

    // Picture page commands (PictureTabCommands.cpp). Those that change a slot return whether
    // they did their work (false when cancelled or refused).
    bool LoadPicture(int TAPic, PictureFormat format);
    void SavePicture(int TAPic);
    bool AddBorder(int TAPic);
    bool AddCross(int TAPic);
    bool MakeLighter();
    bool MakeGrey();
    bool AddGrid(int TAPic);
    void ShowSlot(int TAPic);
    // A note in the status bar for a while; the panels come back with the next status text.
    void ShowNote(const QString& note);

    // Undo history (SlotHistory.cpp)
    // Runs command, which may change the slots listed; when the slots changed, that is one step
    // named name (the button's caption without its '&').
    void RecordSlotChange(const QString& name, const std::vector<int>& changing, const std::function<bool()>& command);
    // Puts slots back as an undo or redo step has them, shows them on their page and in the
    // previews, and turns to the page of the first.
    void PutSlotsBack(const std::vector<SlotState>& states);
    // Where slot TAPic's picture came from, shown as the tooltip of its picture boxes.
    void ShowSource(int TAPic);
    // Make "light" and Make "grey" are there while their slot's picture has not had them.
    void UpdateEffectButtons();

    // Importing (ImportCommands.cpp)
    static bool IsPicturePage(int page);
    // File > Import picture... is there on the picture pages only.
    void UpdateImportCommand();
    // Asks for a picture file and imports it into the slot of the picture page shown.
    bool ImportPictureCommand(int TAPic);
    // Decodes file, asks for the options and imports it into slot TAPic; false when the user
    // cancels or the import fails (the slot is then unchanged and a message says why).
    bool ImportInto(int TAPic, const std::string& file);
    // One undo step named "Import picture" around command.
    void RecordImport(int TAPic, const std::function<bool()>& command);
    // The reason below a failed import's message: "photo.png: the picture is fully transparent."
    static std::string ImportFailureReason(const std::string& file, const imagefiles::FileFailure& why);

    // Automatic generation (AutoGenerate.cpp)
    bool Command28_Click();
    void SetAutoProgress(int step);

    // Operations page (OperationsTab.cpp)
    void SSTab1_Click(int PreviousTab);
    void Command26_Click();
    // Asks for the unit's name and gives it to the picture set. With no name typed, says so; a
    // name the unit-name rule refuses gets refusal with the rule's reason; a name the entry
    // cannot hold whole is cut, which the user is told and may cancel. Nothing then comes back.
    std::optional<std::string> AskUnitName(const char* refusal);

    // GAF files and the unit's files in a mod (FileCommands.cpp)
    void OpenGaf();                             // File > Open GAF...
    void OpenGafFile(const std::string& file);  // and a .gaf file dropped on the window
    void ExportUnitFiles();                     // File > Export unit...

    // Marks a command as running for as long as it is on the stack. When the outermost
    // command returns and a close was confirmed meanwhile, the close is finished then.
    class RunningCommand {
    public:
        explicit RunningCommand(frmMain& window) : window_(window) { ++window_.runningCommands_; }
        ~RunningCommand() {
            if (--window_.runningCommands_ == 0 && window_.closePending_) window_.FinishPendingClose();
        }
        RunningCommand(const RunningCommand&) = delete;
        RunningCommand& operator=(const RunningCommand&) = delete;

    private:
        frmMain& window_;
    };
    void FinishPendingClose();
    void Unload();

    std::unique_ptr<CommonDialog> dialog_;
    std::unique_ptr<Prompts> prompts_;
    std::unique_ptr<UrlOpener> links_;
    std::unique_ptr<ImportOptionsAsker> importOptions_;
    std::unique_ptr<classUnitGAF> unitGAF_;
    RememberedPlaces places_;

    int runningCommands_ = 0;
    bool askingToClose_ = false;
    bool closePending_ = false;
    bool closeConfirmed_ = false;
    bool unloaded_ = false;
    int currentTab_ = kAboutPage;

    QMenuBar* menuBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* importCommand_ = nullptr;
    QUndoStack* undoStack_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* messagePanel_ = nullptr;
    QProgressBar* progressPanel_ = nullptr;
    std::array<PicturePage, 3> pages_{};
    std::array<QtPictureBox*, 3> previews_{};
    CaptionButton* command28_ = nullptr;
    CaptionButton* command26_ = nullptr;
    CaptionButton* command27_ = nullptr;
};
