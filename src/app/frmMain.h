#pragma once
// The program's one window: five pages (the three pictures, the operations, About), a status
// bar, and one file dialog shared by every command. It owns the picture set for the whole run.
//
// Commands are click handlers that run to their end on the one thread. Picture loads let
// pending events through after every pixel, so any command (or a close) can start while
// another is paused; the window counts running commands so that a close confirmed during such
// a pause hides the window at once and finishes only when the outermost command has returned.

#include <QWidget>

#include <array>
#include <memory>
#include <string>

#include "app/CommonDialog.h"
#include "app/Prompts.h"
#include "app/UrlOpener.h"

class classUnitGAF;
class CaptionButton;
class QtPictureBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QStatusBar;
class QTabWidget;

class frmMain : public QWidget {
    Q_OBJECT
public:
    static constexpr int kNormalPage = 0;
    static constexpr int kHighlightedPage = 1;
    static constexpr int kDisabledPage = 2;
    static constexpr int kOperationsPage = 3;
    static constexpr int kAboutPage = 4;

    frmMain(std::unique_ptr<CommonDialog> dialog, std::unique_ptr<Prompts> prompts,
            std::unique_ptr<UrlOpener> links, QWidget* parent = nullptr);
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

    // Start-up and the status bar (frmMain.cpp)
    void Startup();
    void SetMessage(const char* text);
    void SetProgress(int percent);
    void LetEventsThrough();
    // A message box, unless the window is already closing: a command that finishes after the
    // user confirmed the close has nobody left to tell.
    MsgAnswer Tell(const std::string& text, const std::string& title, MsgIcon icon);
    void OpenLink(const std::string& url);

    // Picture page commands (PictureTabCommands.cpp)
    void LoadPicture(int TAPic, PictureFormat format);
    void SavePicture(int TAPic);
    void AddBorder(int TAPic);
    void AddCross(int TAPic);
    void MakeLighter();
    void MakeGrey();
    void AddGrid(int TAPic);
    void ShowSlot(int TAPic);

    // Automatic generation (AutoGenerate.cpp)
    void Command28_Click();
    void SetAutoProgress(int step);

    // Operations page (OperationsTab.cpp)
    void SSTab1_Click(int PreviousTab);
    void Command26_Click();

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
    std::unique_ptr<classUnitGAF> unitGAF_;

    int runningCommands_ = 0;
    bool askingToClose_ = false;
    bool closePending_ = false;
    bool closeConfirmed_ = false;
    bool unloaded_ = false;
    int currentTab_ = kAboutPage;

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
