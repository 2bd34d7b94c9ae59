// Walks the real window through the whole road with scripted dialogs and saves a picture of
// the Operations page at the end: a picture loaded into the normal slot, a border, the
// automatic generation, the preview, the GAF file written. Used by scripts/screenshot.sh.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <iostream>
#include <memory>

#include "ScriptedDialogs.h"
#include "WindowTestSupport.h"
#include "app/frmMain.h"
#include "imagefiles/modPalettes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: iconwright-road-screenshot OUTPUT.png\n";
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    modPalettes::InitGamePalette();

    QTemporaryDir work;
    if (!work.isValid()) {
        std::cerr << "cannot make a temporary folder\n";
        return 1;
    }
    const std::string picture = QDir(work.path()).filePath(QStringLiteral("armcamp.bmp")).toStdString();
    const std::string gaf = QDir(work.path()).filePath(QStringLiteral("armcamp_GADGET.GAF")).toStdString();
    apptest::WritePatternBmp(picture, 96, 96, 5);

    auto dialog = std::make_unique<ScriptedCommonDialog>();
    auto prompts = std::make_unique<ScriptedPrompts>();
    dialog->Choose(picture);
    dialog->Choose(gaf);
    prompts->InputAnswers = {"armcamp"};
    ScriptedPrompts* said = prompts.get();
    frmMain window(std::move(dialog), std::move(prompts), std::make_unique<RecordingUrlOpener>());
    window.show();
    QApplication::processEvents();

    auto click = [&](const char* name) {
        auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(name));
        if (button != nullptr) button->click();
        QApplication::processEvents();
    };
    window.SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    click("Command1");   // Load BMP
    click("Command4");   // border
    click("Command28");  // the other two from the file
    window.SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    QApplication::processEvents();
    click("Command26");  // write the GAF file
    QApplication::processEvents();

    for (const ShownMessage& m : said->Messages) std::cout << "message: " << m.Text << '\n';
    if (!QFileInfo::exists(QString::fromStdString(gaf))) {
        std::cerr << "the GAF file was not written\n";
        return 1;
    }
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::cerr << "cannot save " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
