#pragma once
// A GAF file opened for looking at: its entries, the chosen entry's frames, and the chosen frame
// at its own size and twice it with its fields. The frames can be written out as PNG files, the
// same files `--gaf-extract` writes. The viewer holds the decoded file, so the file on disk may
// change or go while it is open.
//
// It is modeless: the window stays usable, and several files can be open side by side. It asks
// for folders and tells its results through the window's file dialog and prompts.

#include <QDialog>

#include <cstddef>
#include <optional>

#include <array>
#include <string>

#include "app/CommonDialog.h"
#include "app/Prompts.h"
#include "gaf/GafReader.h"

class GafFrameView;
class QLabel;
class QLayout;
class QListWidget;
class QPushButton;

class GafViewer : public QDialog {
    Q_OBJECT
public:
    GafViewer(gaf::DecodedGaf Gaf, const std::string& Filename, CommonDialog& Dialog, Prompts& Prompts,
              QWidget* parent = nullptr);

    const gaf::DecodedGaf& Gaf() const { return gaf_; }
    const std::string& Filename() const { return filename_; }

    // The entry and frame shown, or nullptr when there is none (an entry without frames).
    const gaf::DecodedEntry* CurrentEntry() const;
    const gaf::DecodedFrame* CurrentFrame() const;

    // "Export frames as PNG...": asks for a folder and writes every frame under it, off the GUI
    // thread, showing how many files are written with a Cancel button that stops after the file
    // being written. The window only shows; the extraction is the core's.
    void ExportFrames();

private:
    QLayout* MakeLists();
    QLayout* MakeFrameSide();
    QLayout* MakeButtons();
    void ConnectCommands();
    // Runs the extraction on a thread of its own while the progress dialog runs here. The number
    // of files written, or nothing with the reason.
    std::optional<std::size_t> ExtractWithProgress(const std::string& folder, std::size_t& written,
                                                   imagefiles::FileFailure& why);
    void ShowEntry(int row);
    void ShowFrame(int row);

    gaf::DecodedGaf gaf_;
    std::string filename_;
    CommonDialog& dialog_;
    Prompts& prompts_;

    QListWidget* entries_ = nullptr;
    QListWidget* frames_ = nullptr;
    std::array<GafFrameView*, 2> views_{};  // at 1x and 2x
    QLabel* width_ = nullptr;
    QLabel* height_ = nullptr;
    QLabel* x_ = nullptr;
    QLabel* y_ = nullptr;
    QLabel* transparency_ = nullptr;
    QLabel* compressed_ = nullptr;
    QLabel* layers_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* close_ = nullptr;
};
