#pragma once
// The window's one file dialog. Like the common dialog control it stands for, it keeps its
// settings between commands: each command sets the filter, default extension and file name
// before showing it, and the automatic generation later reads the default extension and file
// name the last command left behind to find the file opened last.
//
// Where a dialog opens: the folder its kind was last used in, in this run or an earlier one, when
// it is given somewhere to remember places; else the folder any dialog last used in this run;
// else InitDir, which is set once and never changed.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

class CommonDialog {
public:
    // What ShowOpen and ShowSave return when the user cancels.
    static constexpr int32_t kCancelError = 32755;
    // Explorer-style dialog with the read-only check box hidden.
    static constexpr int32_t kExplorerHideReadOnly = 0x80004;

    enum class Kind { Open, Save };

    // The last folder of each kind of dialog, kept across runs. A kind is the dialog's use:
    // open or save, and the default extension ("open-bmp", "save-gaf", ...).
    class Places {
    public:
        virtual ~Places() = default;
        virtual std::string LastFolder(const std::string& DialogKind) const = 0;  // "" when none
        virtual void RememberFolder(const std::string& DialogKind, const std::string& Folder) = 0;
    };

    virtual ~CommonDialog() = default;

    std::string Filter;      // "description|pattern", e.g. "BMP files (*.bmp)|*.bmp"
    std::string DefaultExt;  // without the dot
    std::string FileName;    // UTF-8; the chosen file after a successful Show
    std::string InitDir;
    int32_t Flags = 0;
    // Which pair of Filter is offered first, counted from 1; after a successful Show, the pair
    // the user chose. A Filter of one pair always gives 1.
    int32_t FilterIndex = 1;
    // The folder chosen by the last successful ShowFolder (UTF-8).
    std::string FolderName;

    // The folder the dialog opens in, worked out by each ShowOpen, ShowSave and ShowFolder: the
    // remembered folder of its kind, else the folder any dialog last used in this run, else InitDir.
    std::string StartFolder;

    void RememberPlacesIn(Places* places) { places_ = places; }

    // 0 when a file was chosen (FileName then names it), kCancelError when the user cancelled
    // (FileName keeps what it was set to before).
    int32_t ShowOpen() { return Show(Kind::Open); }
    int32_t ShowSave() { return Show(Kind::Save); }

    // Asks for a folder, Title saying what it is for: 0 with FolderName naming it, or
    // kCancelError. Use names the kind of folder ("mod", "frames"), each remembered on its own.
    // The file settings stay as they are, so the automatic generation still finds the picture
    // opened last.
    int32_t ShowFolder(const std::string& Title, const std::string& Use) {
        const std::string dialogKind = "folder-" + Use;
        FindStartFolder(dialogKind);
        std::optional<std::string> chosen = AskForFolder(Title);
        if (!chosen) return kCancelError;
        FolderName = *chosen;
        Remember(dialogKind, FolderName);
        return 0;
    }

protected:
    // Asks the user with the current settings; nullopt on cancel. A dialog with several filters
    // sets FilterIndex to the one chosen.
    virtual std::optional<std::string> AskForFile(Kind kind) = 0;
    virtual std::optional<std::string> AskForFolder(const std::string& Title) = 0;

private:
    int32_t Show(Kind kind) {
        const std::string dialogKind = (kind == Kind::Open ? "open-" : "save-") + DefaultExt;
        FindStartFolder(dialogKind);
        std::optional<std::string> chosen = AskForFile(kind);
        if (!chosen) return kCancelError;
        FileName = *chosen;
        Remember(dialogKind, std::filesystem::path(FileName).parent_path().string());
        return 0;
    }

    void FindStartFolder(const std::string& dialogKind) {
        StartFolder = places_ ? places_->LastFolder(dialogKind) : std::string();
        if (StartFolder.empty()) StartFolder = lastFolderThisRun_;
        if (StartFolder.empty()) StartFolder = InitDir;
    }

    void Remember(const std::string& dialogKind, const std::string& folder) {
        if (folder.empty()) return;
        lastFolderThisRun_ = folder;
        if (places_) places_->RememberFolder(dialogKind, folder);
    }

    Places* places_ = nullptr;
    std::string lastFolderThisRun_;
};
