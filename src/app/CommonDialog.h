#pragma once
// The window's one file dialog. Like the common dialog control it stands for, it keeps its
// settings between commands: each command sets the filter, default extension and file name
// before showing it, and the automatic generation later reads the default extension and file
// name the last command left behind to find the file opened last.

#include <cstdint>
#include <optional>
#include <string>

class CommonDialog {
public:
    // What ShowOpen and ShowSave return when the user cancels.
    static constexpr int32_t kCancelError = 32755;
    // Explorer-style dialog with the read-only check box hidden.
    static constexpr int32_t kExplorerHideReadOnly = 0x80004;

    enum class Kind { Open, Save };

    virtual ~CommonDialog() = default;

    std::string Filter;      // "description|pattern", e.g. "BMP files (*.bmp)|*.bmp"
    std::string DefaultExt;  // without the dot
    std::string FileName;    // UTF-8; the chosen file after a successful Show
    std::string InitDir;
    int32_t Flags = 0;

    // 0 when a file was chosen (FileName then names it), kCancelError when the user cancelled
    // (FileName keeps what it was set to before).
    int32_t ShowOpen() { return Show(Kind::Open); }
    int32_t ShowSave() { return Show(Kind::Save); }

protected:
    // Asks the user with the current settings; nullopt on cancel.
    virtual std::optional<std::string> AskForFile(Kind kind) = 0;

private:
    int32_t Show(Kind kind) {
        std::optional<std::string> chosen = AskForFile(kind);
        if (!chosen) return kCancelError;
        FileName = *chosen;
        return 0;
    }
};
