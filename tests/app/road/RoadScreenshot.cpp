// Walks the real window through the whole road with scripted dialogs and saves a picture of
// the Operations page at the end: a picture loaded into the normal slot, a border, the
// automatic generation, the preview, the GAF file written. Used by scripts/screenshot.sh.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <iostream>
#include <memory>

#include "ScriptedDialogs.h"
#include "WindowTestSupport.h"
#include "app/frmMain.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"

namespace {

// A unit-like picture that reads well in a screenshot: a green tank on a sandy ground under a
// blue sky, in the nearest game colours.
void WriteTankPicture(const std::string& file) {
    const auto colour = [](int r, int g, int b) {
        return modPalettes::NearestIndexPlain(modPalettes::GamePalette, r, g, b);
    };
    std::vector<uint8_t> pixels(96 * 96);
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            uint8_t index = y < 60 ? colour(60 + y, 110 + y, 200) : colour(190 - (y - 60), 160 - (y - 60), 100);
            const bool hull = y >= 50 && y < 70 && x >= 18 && x < 78;
            const bool turret = y >= 38 && y < 50 && x >= 34 && x < 62;
            const bool barrel = y >= 42 && y < 46 && x >= 62 && x < 88;
            const bool tracks = y >= 70 && y < 78 && x >= 14 && x < 82;
            if (hull || turret) index = colour(70, 120 - (y - 38), 40);
            if (barrel) index = colour(50, 60, 40);
            if (tracks) index = ((x / 4) % 2 == 0) ? colour(30, 30, 30) : colour(90, 90, 90);
            pixels[static_cast<std::size_t>(y * 96 + x)] = index;
        }
    }
    testsupport::WriteBytes(file, modBmp::EncodeBmp(pixels, modPalettes::GamePalette, 96, 96));
}

}  // namespace

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
    // The window's remembered places stay in the temporary folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.path());
    const std::string picture = QDir(work.path()).filePath(QStringLiteral("armcamp.bmp")).toStdString();
    const std::string gaf = QDir(work.path()).filePath(QStringLiteral("armcamp_GADGET.GAF")).toStdString();
    WriteTankPicture(picture);

    auto dialog = std::make_unique<ScriptedCommonDialog>();
    auto prompts = std::make_unique<ScriptedPrompts>();
    dialog->Choose(picture);
    dialog->Choose(gaf);
    prompts->InputAnswers = {"armcamp"};
    ScriptedPrompts* said = prompts.get();
    frmMain window(std::move(dialog), std::move(prompts), std::make_unique<RecordingUrlOpener>(),
                   std::make_unique<ScriptedImportOptions>());
    window.show();
    QApplication::processEvents();

    auto click = [&](const char* name) {
        auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(name));
        if (button != nullptr) button->click();
        QApplication::processEvents();
    };
    window.SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    click("Command1");  // Load BMP
    click("Command4");  // border
    const QString normalShot =
        QString::fromLocal8Bit(argv[1]).replace(QStringLiteral("operations"), QStringLiteral("normal"));
    if (normalShot != QString::fromLocal8Bit(argv[1])) window.grab().save(normalShot, "PNG");
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
