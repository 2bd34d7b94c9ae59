// The real Qt dialogs of the program's own window (MakeQtMainWindow), answered as they open:
// each is a child of the main window, also those opened right after another dialog closed,
// when no window is active; message boxes show the reason beneath; the save dialog's filter
// decides the writer (the other filters' writers: WindowTrapsTest, CommandsTest); the options dialog's OK reaches the
// import.

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "app/ImportDialog.h"
#include "app/QtMainWindow.h"
#include "imagefiles/PcxWriter.h"

using namespace apptest;

namespace {

// Answers each modal dialog, as it opens, with the next reply in line, and notes its parent and
// what it showed.
class DialogAnswers {
public:
    explicit DialogAnswers(std::deque<std::string> replies) : replies_(std::move(replies)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* shown = QApplication::activeModalWidget();
            if (shown == nullptr || shown == answered_ || replies_.empty()) return;
            answered_ = shown;
            Parents.push_back(shown->parentWidget());
            const std::string reply = replies_.front();
            replies_.pop_front();
            Seen.push_back(Answer(shown, reply));
        });
        poll_.start(5);
    }
    bool AllUsed() const { return replies_.empty(); }
    Strings Seen;
    std::vector<QWidget*> Parents;

private:
    // A message box: its texts, then OK or No. An input box: its prompt, then the reply. The import
    // options: Trim clicked, then OK or Cancel. A file or folder dialog: what it offers, then the
    // reply's file, after the filter it names before a '|'.
    static std::string Answer(QWidget* shown, const std::string& reply) {
        if (auto* box = qobject_cast<QMessageBox*>(shown)) {
            const std::string seen = (box->icon() == QMessageBox::Warning ? "warning: " : "message: ") +
                                     box->text().toStdString() + " | " + box->informativeText().toStdString();
            box->button(reply == "No" ? QMessageBox::No : QMessageBox::Ok)->click();
            return seen;
        }
        if (auto* input = qobject_cast<QInputDialog*>(shown)) {
            input->setTextValue(QString::fromStdString(reply));
            input->accept();
            return "input: " + input->labelText().toStdString();
        }
        if (auto* options = qobject_cast<ImportDialog*>(shown)) {
            options->TrimBox()->click();
            reply == "OK" ? options->OkButton()->click() : options->reject();
            return "options";
        }
        auto* files = qobject_cast<QFileDialog*>(shown);
        if (files == nullptr) return shown->metaObject()->className();
        const QString file = QString::fromStdString(reply.substr(reply.find('|') + 1));
        const bool folders = files->fileMode() == QFileDialog::Directory;
        const std::string seen = folders ? "folder: " + files->windowTitle().toStdString()
                                         : "file: " + files->selectedNameFilter().toStdString() + " of " +
                                               files->nameFilters().join(";;").toStdString();
        if (reply.find('|') != std::string::npos) {
            files->selectNameFilter(QString::fromStdString(reply.substr(0, reply.find('|'))));
            emit files->filterSelected(files->selectedNameFilter());
        }
        if (folders) files->setDirectory(file);
        files->selectFile(file);
        static_cast<QDialog*>(files)->accept();
        return seen;
    }
    std::deque<std::string> replies_;
    QPointer<QWidget> answered_;
    QTimer poll_;
};

TEST(QtDialogs, EveryDialogIsAChildOfTheWindowAndBringsItsAnswerBack) {
    QSettings().clear();
    testsupport::TempDir dir;
    const std::string narrow = dir.file("narrow.bmp"), photo = dir.file("photo.png");
    const std::string mod = dir.file("mod");
    std::filesystem::create_directories(mod);
    WritePatternBmp(narrow, 95, 96, 40);
    WritePatternPng(photo, 40, 20, 9, 8);
    std::unique_ptr<frmMain> window = MakeQtMainWindow();
    window->show();
    QApplication::processEvents();
    window->SSTab1()->setCurrentIndex(frmMain::kNormalPage);

    DialogAnswers answers({narrow, "", "Ω", "",                       // a picture refused; a unit name refused
                           photo, "OK",                               // imported
                           "PCX files (*.pcx)|" + dir.file("typed"),  // saved under the filter chosen
                           "armcamp", mod, "",                        // the unit exported
                           "No"});                                    // the quit question
    const auto click = [&](const char* button) { window->findChild<QAbstractButton*>(button)->click(); };
    const auto trigger = [&](const char* caption) {
        for (QAction* action : window->findChildren<QAction*>())
            if (action->text() == caption) action->trigger();
    };
    click("Command1");
    click("Command26");
    trigger("&Import picture...");
    click("Command17");
    trigger("&Export unit...");
    const Picture slot = *window->UnitGAF().Slot(0);
    click("Command4");  // unsaved again after the export
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(answers.AllUsed());

    const std::string bmp = "file: BMP files (*.bmp) of BMP files (*.bmp)",
                      save = bmp + ";;PCX files (*.pcx);;PNG files (*.png)",
                      imports =
                          "file: All pictures (*.png *.jpg *.jpeg *.bmp *.pcx) of All pictures (*.png *.jpg *.jpeg "
                          "*.bmp *.pcx);;PNG files (*.png);;JPEG files (*.jpg *.jpeg);;BMP files (*.bmp);;PCX files "
                          "(*.pcx);;All files (*)",
                      name = std::string("input: ") + AppTexts::kUnitNamePrompt;
    EXPECT_EQ(answers.Seen,
              (Strings{bmp,
                       "warning: The background image must be a 96x96, 256 color bitmap | narrow.bmp is 95 x 96 "
                       "pixels; pictures must be 96 x 96 (Import picture can fit it).",
                       name,
                       "warning: The .GAF file could not be written. | The unit name has \"Ω\", a character the game "
                       "cannot store. Use only Western European letters, digits and signs (Windows-1252).",
                       imports, "options", save, name, std::string("folder: ") + AppTexts::kModFolderTitle,
                       "message: The unit's files were written:\n" + mod + "/anims/armcamp_GADGET.GAF\n" + mod +
                           "/unitpics/ARMCAMP.PCX | ",
                       "message: Are you sure you want to quit (unsaved changes will be lost) | "}));
    EXPECT_EQ(answers.Parents, std::vector<QWidget*>(answers.Seen.size(), window.get()));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Ω_GADGET.GAF"));
    EXPECT_EQ(testsupport::ReadBytes(dir.file("typed.pcx")), modPCX::EncodePcx(slot, modPalettes::GamePalette, 96, 96));
    EXPECT_TRUE(std::filesystem::is_regular_file(mod + "/anims/armcamp_GADGET.GAF"));
    // Imported with Trim on.
    import::ImportSettings trimmed;
    trimmed.Trim = true;
    EXPECT_EQ(slot, Reference(0, [&](classUnitGAF& u) { ASSERT_TRUE(u.ImportPicture(photo, 0, trimmed)); }));
}

}  // namespace
