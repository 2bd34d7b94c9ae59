// The real Qt dialogs of the program's own window (MakeQtMainWindow), answered as they open:
// each is a child of the main window, also those opened right after another dialog closed,
// when no window is active.

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <functional>

#include "WindowTestSupport.h"
#include "app/ImportDialog.h"
#include "app/QtMainWindow.h"
#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/PictureEncoders.h"

using namespace apptest;

namespace {

// Hands each modal dialog, as it opens, to the next answer in line.
class DialogAnswers {
public:
    explicit DialogAnswers(std::deque<std::function<void(QWidget*)>> answers) : answers_(std::move(answers)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* shown = QApplication::activeModalWidget();
            if (shown == nullptr || shown == answered_ || answers_.empty()) return;
            answered_ = shown;
            auto answer = std::move(answers_.front());
            answers_.pop_front();
            answer(shown);
        });
        poll_.start(5);
    }
    bool AllUsed() const { return answers_.empty(); }

private:
    std::deque<std::function<void(QWidget*)>> answers_;
    QPointer<QWidget> answered_;
    QTimer poll_;
};

}  // namespace

TEST(QtDialogs, EveryBoxAndDialogIsAChildOfTheWindowAndShowsItsReason) {
    QSettings().clear();
    testsupport::TempDir dir;
    const std::string narrow = dir.file("narrow.bmp");
    WritePatternBmp(narrow, 95, 96, 40);
    std::unique_ptr<frmMain> window = MakeQtMainWindow();
    window->show();
    QApplication::processEvents();

    struct Seen {
        std::string Kind;
        QWidget* Parent;
        std::string Text;
        std::string Informative;
    };
    std::vector<Seen> seen;
    const auto messageBox = [&](QMessageBox::StandardButton press) {
        return [&seen, press](QWidget* shown) {
            auto* box = qobject_cast<QMessageBox*>(shown);
            ASSERT_NE(box, nullptr);
            seen.push_back(
                {"message", box->parentWidget(), box->text().toStdString(), box->informativeText().toStdString()});
            box->button(press)->click();
        };
    };
    DialogAnswers answers({
        [&](QWidget* shown) {
            auto* files = qobject_cast<QFileDialog*>(shown);
            ASSERT_NE(files, nullptr);
            seen.push_back({"file", files->parentWidget(), "", ""});
            files->selectFile(QString::fromStdString(narrow));
            static_cast<QDialog*>(files)->accept();
        },
        messageBox(QMessageBox::Ok),  // the refused picture
        [&](QWidget* shown) {
            auto* input = qobject_cast<QInputDialog*>(shown);
            ASSERT_NE(input, nullptr);
            seen.push_back({"input", input->parentWidget(), input->labelText().toStdString(), ""});
            input->setTextValue(QStringLiteral("Ω"));
            input->accept();
        },
        messageBox(QMessageBox::Ok),  // the unit name refused; no file dialog follows
        messageBox(QMessageBox::No),  // the quit question
    });
    window->findChild<QAbstractButton*>(QStringLiteral("Command1"))->click();
    window->findChild<QAbstractButton*>(QStringLiteral("Command26"))->click();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(answers.AllUsed());

    ASSERT_EQ(seen.size(), 5u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"file", ""},
        {"message", "The background image must be a 96x96, 256 color bitmap"},
        {"input", "Please enter the UNITNAME (ie, CORKROG, ARMCAMP, etc) of your unit"},
        {"message", "The .GAF file could not be written."},
        {"message", "Are you sure you want to quit (unsaved changes will be lost)"},
    };
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].Kind, expected[i].first) << i;
        EXPECT_EQ(seen[i].Text, expected[i].second) << i;
        EXPECT_EQ(seen[i].Parent, window.get()) << i << " " << seen[i].Kind;
    }
    EXPECT_EQ(seen[3].Informative,
              "The unit name has \"Ω\", a character the game cannot store. Use only Western European letters, digits "
              "and signs (Windows-1252).");
    EXPECT_EQ(seen[1].Informative,
              "narrow.bmp is 95 x 96 pixels; pictures must be 96 x 96 (Import picture can fit it).");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Ω_GADGET.GAF"));
}

TEST(QtDialogs, ImportGoesThroughTheFileDialogAndTheOptionsDialogAndAFailureWarnsWithItsReason) {
    QSettings().clear();
    testsupport::TempDir dir;
    const std::string photo = dir.file("photo.png"), junk = dir.file("junk.png");
    imagefiles::RgbaPicture picture{40, 20, std::vector<uint8_t>(40 * 20 * 4)};
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i)
        picture.Pixels[i] = i % 4 == 3 ? (i / 4 % 40 < 8 ? 0 : 255) : static_cast<uint8_t>(i * 37 % 251);
    testsupport::WriteBytes(photo, pictureencode::EncodeRgbaPng(picture));
    testsupport::WriteBytes(junk, {'n', 'o', 't'});
    std::unique_ptr<frmMain> window = MakeQtMainWindow();
    window->show();
    QApplication::processEvents();
    window->SSTab1()->setCurrentIndex(frmMain::kNormalPage);

    std::vector<QWidget*> parents;
    QStringList filters;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::string text, informative;
    const auto chooseFile = [&](const std::string& file) {
        return [&, file](QWidget* shown) {
            auto* files = qobject_cast<QFileDialog*>(shown);
            ASSERT_NE(files, nullptr);
            parents.push_back(files->parentWidget());
            filters = files->nameFilters();
            files->selectFile(QString::fromStdString(file));
            static_cast<QDialog*>(files)->accept();
        };
    };
    DialogAnswers answers({
        chooseFile(photo),
        [&](QWidget* shown) {
            auto* options = qobject_cast<ImportDialog*>(shown);
            ASSERT_NE(options, nullptr);
            parents.push_back(options->parentWidget());
            options->TrimBox()->click();
            options->OkButton()->click();
        },
        chooseFile(junk),
        [&](QWidget* shown) {
            auto* box = qobject_cast<QMessageBox*>(shown);
            ASSERT_NE(box, nullptr);
            parents.push_back(box->parentWidget());
            icon = box->icon(), text = box->text().toStdString(), informative = box->informativeText().toStdString();
            box->button(QMessageBox::Ok)->click();
        },
    });
    QAction* import = nullptr;
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text() == "&Import picture...") import = action;
    ASSERT_NE(import, nullptr);
    import->trigger();
    import->trigger();
    EXPECT_TRUE(answers.AllUsed());

    EXPECT_EQ(parents, std::vector<QWidget*>(4, window.get()));
    EXPECT_EQ(filters, QStringList({"PNG files (*.png)", "JPEG files (*.jpg *.jpeg)", "BMP files (*.bmp)",
                                    "PCX files (*.pcx)", "All files (*)"}));
    import::ImportSettings trimmed;
    trimmed.Trim = true;
    EXPECT_EQ(*window->UnitGAF().Slot(0),
              Reference(0, [&](classUnitGAF& u) { ASSERT_TRUE(u.ImportPicture(photo, 0, trimmed)); }));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(text, "The picture could not be imported.");
    EXPECT_EQ(informative, "junk.png: not a PNG, JPEG, BMP or PCX picture.");
}

// Qt's own save dialog under the picture's Save button: the filter chosen there decides the
// writer, and a name typed without an extension takes that filter's.
TEST(QtDialogs, SaveDialogReportsTheChosenFilterAndItsExtension) {
    QSettings().clear();
    testsupport::TempDir dir;
    std::unique_ptr<frmMain> window = MakeQtMainWindow();
    window->show();
    QApplication::processEvents();

    const auto saveAs = [&](const char* filter, const char* name) {
        return [&dir, filter, name](QWidget* shown) {
            auto* files = qobject_cast<QFileDialog*>(shown);
            ASSERT_NE(files, nullptr);
            EXPECT_EQ(files->selectedNameFilter(), "BMP files (*.bmp)");
            files->selectNameFilter(QString::fromLatin1(filter));
            emit files->filterSelected(QString::fromLatin1(filter));
            files->selectFile(QString::fromStdString(dir.file(name)));
            static_cast<QDialog*>(files)->accept();
        };
    };
    DialogAnswers answers({saveAs("PCX files (*.pcx)", "typed"), saveAs("PNG files (*.png)", "other"),
                           saveAs("BMP files (*.bmp)", "plain")});
    for (int k = 0; k < 3; ++k) window->findChild<QAbstractButton*>(QStringLiteral("Command17"))->click();
    EXPECT_TRUE(answers.AllUsed());

    const classUnitGAF& unit = window->UnitGAF();
    EXPECT_EQ(testsupport::ReadBytes(dir.file("typed.pcx")),
              modPCX::EncodePcx(*unit.Slot(0), modPalettes::GamePalette, 96, 96));
    EXPECT_EQ(testsupport::ReadBytes(dir.file("other.png")),
              modPNG::EncodePng(*unit.Slot(0), modPalettes::GamePalette, 96, 96));
    EXPECT_EQ(testsupport::ReadBytes(dir.file("plain.bmp")),
              modBmp::EncodeBmp(*unit.Slot(0), modPalettes::GamePalette, 96, 96));
}

// File > Export unit... with Qt's own dialogs: the name asked, then the mod's folder in a folder
// dialog, a child of the window like every other.
TEST(QtDialogs, ExportUnitAsksForTheModsFolderInAFolderDialog) {
    QSettings().clear();
    testsupport::TempDir dir;
    const std::filesystem::path mod = dir.path() / "mod";
    std::filesystem::create_directories(mod);
    std::unique_ptr<frmMain> window = MakeQtMainWindow();
    window->show();
    QApplication::processEvents();

    std::vector<QWidget*> parents;
    QString folderTitle, message;
    bool foldersOnly = false;
    DialogAnswers answers({
        [&](QWidget* shown) {
            auto* input = qobject_cast<QInputDialog*>(shown);
            ASSERT_NE(input, nullptr);
            parents.push_back(input->parentWidget());
            input->setTextValue(QStringLiteral("armcamp"));
            input->accept();
        },
        [&](QWidget* shown) {
            auto* folders = qobject_cast<QFileDialog*>(shown);
            ASSERT_NE(folders, nullptr);
            parents.push_back(folders->parentWidget());
            folderTitle = folders->windowTitle();
            foldersOnly = folders->fileMode() == QFileDialog::Directory;
            folders->setDirectory(QString::fromStdString(mod.string()));
            folders->selectFile(QString::fromStdString(mod.string()));
            static_cast<QDialog*>(folders)->accept();
        },
        [&](QWidget* shown) {
            auto* box = qobject_cast<QMessageBox*>(shown);
            ASSERT_NE(box, nullptr);
            parents.push_back(box->parentWidget());
            message = box->text();
            box->button(QMessageBox::Ok)->click();
        },
    });
    for (QAction* command : window->findChildren<QAction*>()) {
        if (command->text() == "&Export unit...") command->trigger();
    }
    EXPECT_TRUE(answers.AllUsed());
    EXPECT_EQ(parents, std::vector<QWidget*>(3, window.get()));
    EXPECT_EQ(folderTitle, "Choose the mod's folder (the files go into its anims and unitpics)");
    EXPECT_TRUE(foldersOnly);
    EXPECT_EQ(message.toStdString(), "The unit's files were written:\n" + (mod / "anims/armcamp_GADGET.GAF").string() +
                                         "\n" + (mod / "unitpics/ARMCAMP.PCX").string());
    EXPECT_TRUE(std::filesystem::is_regular_file(mod / "anims" / "armcamp_GADGET.GAF"));
}
