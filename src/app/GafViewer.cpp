#include "app/GafViewer.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <climits>
#include <utility>

#include "app/AppTexts.h"
#include "app/FailureText.h"
#include "app/GafFrameView.h"
#include "gaf/GafExtraction.h"

namespace {

QString Text(const char* text) { return QString::fromUtf8(text); }

QLabel* FieldValue(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QScrollArea* Scrolling(QWidget* view) {
    auto* area = new QScrollArea;
    area->setWidget(view);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area->setMinimumSize(140, 140);
    return area;
}

// A caption above widget; an access key in it moves to the widget.
QVBoxLayout* Captioned(const char* caption, QWidget* widget) {
    auto* label = new QLabel(QString::fromUtf8(caption));
    label->setBuddy(widget);
    auto* column = new QVBoxLayout;
    column->addWidget(label);
    column->addWidget(widget, 1);
    return column;
}

std::string WrittenText(int written, const std::string& folder) {
    const QString count = QString::number(written);
    const QString where = QString::fromStdString(folder);
    if (written == 1) return Text(AppTexts::kOneFrameWritten).arg(where).toStdString();
    return Text(AppTexts::kFramesWritten).arg(count, where).toStdString();
}

std::string WrittenBeforeText(int written) {
    if (written == 1) return AppTexts::kOneFrameWrittenBefore;
    return Text(AppTexts::kFramesWrittenBefore).arg(written).toStdString();
}

}  // namespace

GafViewer::GafViewer(gaf::DecodedGaf Gaf, const std::string& Filename, CommonDialog& Dialog, Prompts& Prompts,
                     QWidget* parent)
    : QDialog(parent), gaf_(std::move(Gaf)), filename_(Filename), dialog_(Dialog), prompts_(Prompts) {
    setObjectName(QStringLiteral("GafViewer"));
    setWindowTitle(Text(AppTexts::kViewerTitle).arg(QFileInfo(QString::fromStdString(filename_)).fileName()));
    setSizeGripEnabled(true);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(MakeLists(), 1);
    whole->addLayout(MakeButtons());
    resize(720, 420);
    ConnectCommands();
    if (gaf_.Entries.empty()) {
        ShowFrame(-1);
    } else {
        entries_->setCurrentRow(0);
    }
}

// The entries, the frames of the entry chosen, and the frame chosen beside them.
QLayout* GafViewer::MakeLists() {
    entries_ = new QListWidget;
    entries_->setObjectName(QStringLiteral("Entries"));
    for (const gaf::DecodedEntry& entry : gaf_.Entries) {
        entries_->addItem(entry.Name.empty() ? Text(AppTexts::kUnnamedEntry) : QString::fromStdString(entry.Name));
    }
    frames_ = new QListWidget;
    frames_->setObjectName(QStringLiteral("Frames"));
    auto* lists = new QHBoxLayout;
    lists->addLayout(Captioned("E&ntries:", entries_), 1);
    lists->addLayout(Captioned("&Frames:", frames_), 1);
    lists->addLayout(MakeFrameSide(), 3);
    return lists;
}

// The frame at its size and twice it, and its header's fields below.
QLayout* GafViewer::MakeFrameSide() {
    auto* fields = new QFormLayout;
    const struct {
        const char* Caption;
        const char* Name;
        QLabel** Value;
    } rows[] = {
        {"Width:", "FrameWidth", &width_},
        {"Height:", "FrameHeight", &height_},
        {"X:", "FrameX", &x_},
        {"Y:", "FrameY", &y_},
        {"Transparency:", "FrameTransparency", &transparency_},
        {"Compressed:", "FrameCompressed", &compressed_},
        {"Layers:", "FrameLayers", &layers_},
    };
    for (const auto& row : rows) {
        *row.Value = FieldValue(row.Name);
        fields->addRow(Text(row.Caption), *row.Value);
    }
    auto* pictures = new QHBoxLayout;
    const char* viewNames[] = {"Frame1x", "Frame2x"};
    const char* viewCaptions[] = {"Actual size:", "Twice the size:"};
    for (std::size_t k = 0; k < views_.size(); ++k) {
        views_[k] = new GafFrameView(static_cast<int>(k + 1));
        views_[k]->setObjectName(QString::fromLatin1(viewNames[k]));
        pictures->addLayout(Captioned(viewCaptions[k], Scrolling(views_[k])), static_cast<int>(k + 1));
    }
    auto* frameSide = new QVBoxLayout;
    frameSide->addLayout(pictures, 1);
    frameSide->addLayout(fields);
    return frameSide;
}

QLayout* GafViewer::MakeButtons() {
    export_ = new QPushButton(Text(AppTexts::kExportFramesCaption));
    export_->setObjectName(QStringLiteral("ExportFrames"));
    export_->setAutoDefault(false);
    close_ = new QPushButton(QStringLiteral("&Close"));
    close_->setObjectName(QStringLiteral("CloseViewer"));
    close_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(export_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    return buttons;
}

void GafViewer::ConnectCommands() {
    connect(entries_, &QListWidget::currentRowChanged, this, [this](int row) { ShowEntry(row); });
    connect(frames_, &QListWidget::currentRowChanged, this, [this](int row) { ShowFrame(row); });
    connect(export_, &QPushButton::clicked, this, [this] { ExportFrames(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
}

const gaf::DecodedEntry* GafViewer::CurrentEntry() const {
    const int row = entries_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= gaf_.Entries.size()) return nullptr;
    return &gaf_.Entries[static_cast<std::size_t>(row)];
}

const gaf::DecodedFrame* GafViewer::CurrentFrame() const {
    const gaf::DecodedEntry* entry = CurrentEntry();
    const int row = frames_->currentRow();
    if (entry == nullptr || row < 0 || static_cast<std::size_t>(row) >= entry->Frames.size()) return nullptr;
    return &entry->Frames[static_cast<std::size_t>(row)];
}

void GafViewer::ShowEntry(int /*row*/) {
    const QSignalBlocker quiet(frames_);
    frames_->clear();
    if (const gaf::DecodedEntry* entry = CurrentEntry()) {
        for (std::size_t n = 0; n < entry->Frames.size(); ++n) {
            const gaf::DecodedFrame& frame = entry->Frames[n];
            frames_->addItem(Text(AppTexts::kFrameItem).arg(n).arg(frame.Width).arg(frame.Height));
        }
        if (!entry->Frames.empty()) frames_->setCurrentRow(0);
    }
    ShowFrame(frames_->currentRow());
}

void GafViewer::ShowFrame(int /*row*/) {
    const gaf::DecodedFrame* frame = CurrentFrame();
    for (GafFrameView* view : views_) view->ShowFrame(frame);
    const auto number = [frame](int value) { return frame ? QString::number(value) : QString(); };
    width_->setText(number(frame ? frame->Width : 0));
    height_->setText(number(frame ? frame->Height : 0));
    x_->setText(number(frame ? frame->X : 0));
    y_->setText(number(frame ? frame->Y : 0));
    transparency_->setText(number(frame ? frame->Transparency : 0));
    layers_->setText(number(frame ? frame->Layers : 0));
    compressed_->setText(!frame ? QString() : frame->Compression != 0 ? QStringLiteral("Yes") : QStringLiteral("No"));
}

std::optional<std::size_t> GafViewer::ExtractWithProgress(const std::string& folder, std::size_t& written,
                                                          imagefiles::FileFailure& why) {
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    std::optional<std::size_t> result;
    const auto told = [&](const std::string&, std::size_t count) {
        done = count;
        return !stop;
    };
    QProgressDialog progress(Text(AppTexts::kWritingFrames), QStringLiteral("Cancel"), 0,
                             static_cast<int>(std::min<std::size_t>(gaf::FramesToExtract(gaf_), INT_MAX)), this);
    progress.setObjectName(QStringLiteral("ExportProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    connect(&progress, &QProgressDialog::canceled, this, [&stop] { stop = true; });

    QThread* worker = QThread::create([&] { result = gaf::ExtractGafFrames(gaf_, folder, told, &why); });
    QEventLoop loop;
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, this,
            [&] { progress.setValue(static_cast<int>(std::min<std::size_t>(done, INT_MAX))); });
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    ticks.start(50);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    written = done;
    return result;
}

void GafViewer::ExportFrames() {
    if (dialog_.ShowFolder(AppTexts::kFramesFolderTitle, "frames") == CommonDialog::kCancelError) return;
    const std::string folder = dialog_.FolderName;
    std::size_t written = 0;
    imagefiles::FileFailure why;
    export_->setEnabled(false);
    const bool extracted = ExtractWithProgress(folder, written, why).has_value();
    export_->setEnabled(true);
    const int count = static_cast<int>(std::min<std::size_t>(written, INT_MAX));
    if (extracted) {
        prompts_.MsgBox(WrittenText(count, folder), AppTexts::kProgramTitle, MsgIcon::Information, MsgButtons::OK,
                        std::string());
    } else if (why.Kind == imagefiles::FailureKind::Cancelled) {
        prompts_.MsgBox(AppTexts::kFramesCancelled, AppTexts::kProgramTitle, MsgIcon::Information, MsgButtons::OK,
                        WrittenBeforeText(count));
    } else {
        prompts_.MsgBox(AppTexts::kFramesNotWritten, AppTexts::kProgramTitle, MsgIcon::Warning, MsgButtons::OK,
                        ReasonSentence(why) + " " + WrittenBeforeText(count));
    }
}
