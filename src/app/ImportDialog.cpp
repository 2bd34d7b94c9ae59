#include "app/ImportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>
#include <utility>

#include "app/ImportPreview.h"
#include "imagefiles/modPalettes.h"
#include "import/ImportSettingsText.h"

namespace {

// Combo box entries in the order of their enum's values.
constexpr const char* kFitCaptions[] = {"Contain (whole picture, aspect kept)", "Cover (fills the frame, cropped)",
                                        "Stretch (to 96 x 96)", "None (actual size, cropped)"};
constexpr const char* kMatchCaptions[] = {"RGB (the game's own rule)", "Perceptual (OKLab)"};
constexpr const char* kDitherCaptions[] = {"None", "Floyd-Steinberg"};

template <std::size_t N>
QComboBox* Choice(const char* name, const char* const (&captions)[N]) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    for (const char* caption : captions) box->addItem(QString::fromUtf8(caption));
    return box;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* PreviewLabel(const char* name) {
    auto* label = Named(new QLabel, name);
    label->setFixedSize(ImportPreview::kSide, ImportPreview::kSide);
    label->setFrameShape(QFrame::NoFrame);
    return label;
}

QColor ToQColor(const import::Colour& c) { return QColor(c.Red, c.Green, c.Blue); }

}  // namespace

ImportDialog::ImportDialog(const std::string& Filename, const imagefiles::RgbaPicture& Picture,
                           const ImportChoices& Start, Pickers PickWith, QWidget* parent)
    : QDialog(parent), picture_(Picture), choices_(Start), pickers_(std::move(PickWith)) {
    BuildControls(Filename);
    ShowChoices();
    ConnectControls();
    Refresh();
}

// The worker reads the picture, which the caller keeps only while the dialog lives.
ImportDialog::~ImportDialog() {
    if (work_.valid()) work_.wait();
}

void ImportDialog::BuildControls(const std::string& Filename) {
    setObjectName(QStringLiteral("ImportDialog"));
    const QString name = QFileInfo(QString::fromStdString(Filename)).fileName();
    setWindowTitle(QStringLiteral("Import picture - %1").arg(name));

    source_ = PreviewLabel("SourcePreview");
    mapped_ = PreviewLabel("ResultPreview");
    auto* pictures = new QGridLayout;
    pictures->addWidget(new QLabel(QStringLiteral("Fitted picture")), 0, 0);
    pictures->addWidget(new QLabel(QStringLiteral("In the game palette")), 0, 1);
    pictures->addWidget(source_, 1, 0);
    pictures->addWidget(mapped_, 1, 1);

    fit_ = Choice("Fit", kFitCaptions);
    colour_ = Named(new QPushButton, "BackgroundColour");
    backgroundFile_ = Named(new QPushButton(QStringLiteral("&Picture...")), "BackgroundFile");
    backgroundName_ = Named(new QLabel, "BackgroundName");
    auto* background = new QHBoxLayout;
    background->addWidget(colour_);
    background->addWidget(backgroundFile_);
    background->addWidget(backgroundName_, 1);
    trim_ = Named(new QCheckBox(QStringLiteral("&Trim transparent edges before fitting")), "Trim");
    match_ = Choice("Match", kMatchCaptions);
    dither_ = Choice("Dither", kDitherCaptions);
    avoid_ = Named(new QLineEdit, "Avoid");
    avoid_->setPlaceholderText(QStringLiteral("none, or indices and ranges such as 0,240-255"));
    strict_ = Named(new QCheckBox(QStringLiteral("&Strict: only exact game colours")), "Strict");

    auto* options = new QFormLayout;
    options->addRow(QStringLiteral("&Fit:"), fit_);
    auto* backgroundLabel = new QLabel(QStringLiteral("&Background:"));
    backgroundLabel->setBuddy(colour_);
    options->addRow(backgroundLabel, background);
    options->addRow(QString(), trim_);
    options->addRow(QStringLiteral("&Match:"), match_);
    options->addRow(QStringLiteral("&Dither:"), dither_);
    options->addRow(QStringLiteral("&Avoid indices:"), avoid_);
    options->addRow(QString(), strict_);

    report_ = Named(new QLabel, "Report");
    report_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    report_->setWordWrap(true);
    problem_ = Named(new QLabel, "Problem");
    problem_->setWordWrap(true);
    // Room for two lines each, taken whether they show anything or not, and a file name that
    // never widens the dialog: the dialog keeps one size whatever the options make it show.
    const int twoLines = 2 * fontMetrics().lineSpacing();
    report_->setMinimumHeight(twoLines);
    problem_->setMinimumHeight(twoLines);
    backgroundName_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Enter is OK's, also right after the colour or picture button was used.
    colour_->setAutoDefault(false);
    backgroundFile_->setAutoDefault(false);
    QPalette warning = problem_->palette();
    warning.setColor(QPalette::WindowText, QColor(192, 0, 0));
    problem_->setPalette(warning);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pictures);
    layout->addLayout(options);
    layout->addWidget(report_);
    layout->addWidget(problem_);
    layout->addWidget(buttons_);
    OkButton()->setDefault(true);
    report_->setText(QStringLiteral("Cannot be imported: the picture is not fitted yet."));
    setFixedSize(sizeHint());
    report_->clear();
}

void ImportDialog::ShowChoices() {
    const import::ImportSettings& s = choices_.Settings;
    fit_->setCurrentIndex(static_cast<int>(s.Fit));
    trim_->setChecked(s.Trim);
    match_->setCurrentIndex(static_cast<int>(s.Match));
    dither_->setCurrentIndex(static_cast<int>(s.Dither));
    avoid_->setText(QString::fromStdString(AvoidListText(s.Avoid)));
    strict_->setChecked(s.Strict);
    ShowBackground();
}

void ImportDialog::ConnectControls() {
    import::ImportSettings& s = choices_.Settings;
    connect(fit_, &QComboBox::currentIndexChanged, this, [this, &s](int index) {
        s.Fit = static_cast<import::FitMode>(index);
        Refresh();
    });
    connect(trim_, &QCheckBox::toggled, this, [this, &s](bool on) {
        s.Trim = on;
        Refresh();
    });
    connect(match_, &QComboBox::currentIndexChanged, this, [this, &s](int index) {
        s.Match = static_cast<import::MatchRule>(index);
        Refresh();
    });
    connect(dither_, &QComboBox::currentIndexChanged, this, [this, &s](int index) {
        s.Dither = static_cast<import::DitherMode>(index);
        Refresh();
    });
    connect(strict_, &QCheckBox::toggled, this, [this, &s](bool on) {
        s.Strict = on;
        Refresh();
    });
    connect(avoid_, &QLineEdit::textChanged, this, [this](const QString& text) { TakeAvoidList(text); });
    connect(colour_, &QPushButton::clicked, this, [this] { PickColour(); });
    connect(backgroundFile_, &QPushButton::clicked, this, [this] { PickBackgroundFile(); });
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QPushButton* ImportDialog::OkButton() const { return buttons_->button(QDialogButtonBox::Ok); }

void ImportDialog::PickColour() {
    if (!pickers_.Colour) return;
    const std::optional<QColor> picked = pickers_.Colour(ToQColor(choices_.Settings.Background));
    if (!picked || !picked->isValid()) return;
    // Choosing a colour, even the same one, puts the colour behind the picture again.
    choices_.Settings.Background = {static_cast<uint8_t>(picked->red()), static_cast<uint8_t>(picked->green()),
                                    static_cast<uint8_t>(picked->blue())};
    choices_.Settings.BackgroundFrame.reset();
    choices_.BackgroundFile.clear();
    backgroundProblem_.clear();
    ShowBackground();
    Refresh();
}

void ImportDialog::PickBackgroundFile() {
    if (!pickers_.BackgroundFile) return;
    const std::optional<std::string> file = pickers_.BackgroundFile();
    if (!file) return;
    imagefiles::FileFailure why;
    auto frame = import::LoadBackgroundFrame(*file, &why);
    if (!frame) {
        // The background stays as it was.
        backgroundProblem_ = QStringLiteral("The background picture %1: %2")
                                 .arg(QFileInfo(QString::fromStdString(*file)).fileName(),
                                      QString::fromStdString(import::DescribeImportFailure(why)));
        ShowProblems();
        return;
    }
    choices_.Settings.BackgroundFrame = std::make_shared<const imagefiles::RgbaPicture>(std::move(*frame));
    choices_.BackgroundFile = *file;
    backgroundProblem_.clear();
    ShowBackground();
    Refresh();
}

void ImportDialog::TakeAvoidList(const QString& text) {
    std::string why;
    const auto avoid = import::ParseAvoidList(text.trimmed().toStdString(), &why);
    if (!avoid) {
        avoidProblem_ = QStringLiteral("Avoid indices: %1").arg(QString::fromStdString(why));
        ShowProblems();
        return;
    }
    avoidProblem_.clear();
    const bool changed = choices_.Settings.Avoid != *avoid;
    choices_.Settings.Avoid = *avoid;
    if (changed) {
        Refresh();
    } else {
        ShowProblems();
    }
}

void ImportDialog::ShowBackground() {
    const QColor colour = ToQColor(choices_.Settings.Background);
    QPixmap swatch(16, 16);
    swatch.fill(colour);
    colour_->setIcon(QIcon(swatch));
    colour_->setText(QString::fromStdString(ColourText(choices_.Settings.Background)));
    const bool picture = choices_.Settings.BackgroundFrame != nullptr;
    backgroundName_->setText(picture ? QFileInfo(QString::fromStdString(choices_.BackgroundFile)).fileName()
                                     : QStringLiteral("(the colour)"));
    backgroundName_->setToolTip(picture ? QString::fromStdString(choices_.BackgroundFile) : QString());
}

void ImportDialog::Refresh() {
    waiting_ = choices_.Settings;
    StartWork();
    ShowProblems();
}

void ImportDialog::StartWork() {
    if (working_ || !waiting_) return;
    working_ = true;
    const import::ImportSettings settings = std::move(*waiting_);
    waiting_.reset();
    std::shared_ptr<const import::PreparedFrames> kept =
        frames_ && import::SameFrames(settings, framesFor_) ? frames_ : nullptr;
    const imagefiles::RgbaPicture* picture = &picture_;
    work_ = std::async(std::launch::async, [this, picture, settings, kept = std::move(kept)] {
        Outcome outcome;
        outcome.Frames = kept;
        outcome.FramesFor = settings;
        if (!outcome.Frames) {
            if (auto frames = import::PrepareFrames(*picture, settings, &outcome.Why))
                outcome.Frames = std::make_shared<const import::PreparedFrames>(std::move(*frames));
        }
        if (outcome.Frames)
            outcome.Result =
                import::MapPreparedFrames(*outcome.Frames, settings, modPalettes::GamePalette, &outcome.Why);
        // Back on the dialog's thread; dropped if the dialog is gone by then.
        QMetaObject::invokeMethod(
            this, [this, outcome = std::move(outcome)]() mutable { WorkDone(std::move(outcome)); },
            Qt::QueuedConnection);
    });
}

void ImportDialog::WorkDone(Outcome outcome) {
    working_ = false;
    if (outcome.Frames) {
        frames_ = outcome.Frames;
        framesFor_ = outcome.FramesFor;
    }
    // A newer request replaces this outcome before anyone sees it.
    if (waiting_) {
        StartWork();
        return;
    }
    ShowOutcome(outcome);
}

void ImportDialog::WaitForPreview() {
    while (working_) {
        work_.wait();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

void ImportDialog::accept() {
    WaitForPreview();
    if (CanImport()) QDialog::accept();
}

void ImportDialog::ShowOutcome(const Outcome& outcome) {
    result_ = outcome.Result;
    if (result_) {
        failure_.clear();
        sourcePreview_ = ImportPreview::Truecolour(result_->Frames.Composited);
        resultPreview_ = ImportPreview::Indexed(result_->Indices, modPalettes::GamePalette);
    } else {
        failure_ = QString::fromStdString(import::DescribeImportFailure(outcome.Why));
        // The picture as fitted is still worth seeing when only the mapping refused it.
        sourcePreview_ = outcome.Frames ? ImportPreview::Truecolour(outcome.Frames->Composited) : QImage();
        resultPreview_ = QImage();
    }
    source_->setPixmap(sourcePreview_.isNull() ? QPixmap() : QPixmap::fromImage(sourcePreview_));
    mapped_->setPixmap(resultPreview_.isNull() ? QPixmap() : QPixmap::fromImage(resultPreview_));
    report_->setText(ReportText());
    ShowProblems();
}

QString ImportDialog::ReportText() const {
    if (result_) return QString::fromStdString(import::DescribeReport(result_->Report));
    return QStringLiteral("Cannot be imported: %1").arg(failure_);
}

QString ImportDialog::ProblemText() const {
    QStringList problems;
    if (!avoidProblem_.isEmpty()) problems << avoidProblem_;
    if (!backgroundProblem_.isEmpty()) problems << backgroundProblem_;
    return problems.join(QLatin1Char('\n'));
}

void ImportDialog::ShowProblems() {
    const QString problems = ProblemText();
    problem_->setText(problems);
    // Greyed out while what the dialog shows cannot be imported; while the first preview is on
    // its way, OK waits for it (accept).
    OkButton()->setEnabled(ChoicesValid() && failure_.isEmpty());
}
