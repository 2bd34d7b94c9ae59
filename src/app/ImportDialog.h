#pragma once
// The import options dialog: every import option beside the picture as the import fits it (in
// its own colours) and as it comes out in the game palette, both at twice their size, with the
// conversion report below. The file is decoded once, before the dialog opens; the picture is
// fitted again only when the fit, the trim or the background changes. The fitting, mapping and
// report run on a worker thread, one request at a time, the newest waiting request next and the
// ones it replaced never shown, so that typing and clicking never wait for a large picture.
// The dialog keeps its size whatever it shows.
//
// Everything the dialog does is reachable without showing it: tests set the widgets and read
// the options, the pictures and the texts back.

#include <QDialog>
#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "app/ImportChoices.h"
#include "imagefiles/RgbaPicture.h"
#include "import/ImportPicture.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // The dialogs the background buttons open, so that tests can answer them.
    struct Pickers {
        // A colour, starting from Current; nothing when the user cancels.
        std::function<std::optional<QColor>(const QColor& Current)> Colour;
        // A picture file to show behind the picture; nothing when the user cancels.
        std::function<std::optional<std::string>()> BackgroundFile;
    };

    ImportDialog(const std::string& Filename, const imagefiles::RgbaPicture& Picture, const ImportChoices& Start,
                 Pickers PickWith, QWidget* parent = nullptr);
    ~ImportDialog() override;

    // The options as the widgets stand. While the avoid list does not read, it holds the last one
    // that did, and ChoicesValid is false.
    const ImportChoices& Choices() const { return choices_; }
    bool ChoicesValid() const { return avoidProblem_.isEmpty(); }
    // Whether OK would import: the options read and the preview shown imports. OK is greyed out
    // while the options do not read or the preview shown cannot be imported, and pressing it
    // waits for the preview of the options as they stand and closes only if that one imports.
    bool CanImport() const { return ChoicesValid() && result_.has_value(); }

    // Waits until the preview shows the options as they stand.
    void WaitForPreview();
    // Whether a preview is being made.
    bool PreviewPending() const { return working_; }

    // The import with the options as they stand (once the preview is done); nothing when it fails,
    // ReportText then says why.
    const std::optional<import::ImportResult>& Result() const { return result_; }
    // 192 x 192; null when there is nothing to show (the import fails before that picture).
    const QImage& SourcePreview() const { return sourcePreview_; }
    const QImage& ResultPreview() const { return resultPreview_; }
    // The conversion report as iconwright-cli prints it, or why the import fails.
    QString ReportText() const;
    // What is wrong with what the user typed or chose ("" when nothing is).
    QString ProblemText() const;

    QComboBox* FitBox() const { return fit_; }
    QPushButton* ColourButton() const { return colour_; }
    QPushButton* BackgroundFileButton() const { return backgroundFile_; }
    QLabel* BackgroundName() const { return backgroundName_; }
    QCheckBox* TrimBox() const { return trim_; }
    QComboBox* MatchBox() const { return match_; }
    QComboBox* DitherBox() const { return dither_; }
    QLineEdit* AvoidEdit() const { return avoid_; }
    QCheckBox* StrictBox() const { return strict_; }
    QPushButton* OkButton() const;

    void accept() override;

private:
    // What a worker hands back: the frames it fitted or reused, and the import's outcome.
    struct Outcome {
        std::shared_ptr<const import::PreparedFrames> Frames;
        import::ImportSettings FramesFor;
        std::optional<import::ImportResult> Result;
        imagefiles::FileFailure Why;
    };

    void BuildControls(const std::string& Filename);
    void ShowChoices();
    void ConnectControls();
    void PickColour();
    void PickBackgroundFile();
    void TakeAvoidList(const QString& text);
    void ShowBackground();
    // Asks for the import with the options as they stand; its outcome is shown when it is done.
    void Refresh();
    // Starts the waiting request on a worker, unless one is at work.
    void StartWork();
    void WorkDone(Outcome outcome);
    void ShowOutcome(const Outcome& outcome);
    void ShowProblems();

    const imagefiles::RgbaPicture& picture_;
    // The frames last fitted, and the settings they were fitted with.
    std::shared_ptr<const import::PreparedFrames> frames_;
    import::ImportSettings framesFor_;
    // The request waiting for the worker, and the worker's own.
    std::optional<import::ImportSettings> waiting_;
    bool working_ = false;
    std::future<void> work_;
    ImportChoices choices_;
    Pickers pickers_;
    std::optional<import::ImportResult> result_;
    QString failure_;
    QString avoidProblem_;
    QString backgroundProblem_;
    QImage sourcePreview_;
    QImage resultPreview_;

    QComboBox* fit_ = nullptr;
    QPushButton* colour_ = nullptr;
    QPushButton* backgroundFile_ = nullptr;
    QLabel* backgroundName_ = nullptr;
    QCheckBox* trim_ = nullptr;
    QComboBox* match_ = nullptr;
    QComboBox* dither_ = nullptr;
    QLineEdit* avoid_ = nullptr;
    QCheckBox* strict_ = nullptr;
    QLabel* source_ = nullptr;
    QLabel* mapped_ = nullptr;
    QLabel* report_ = nullptr;
    QLabel* problem_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};
