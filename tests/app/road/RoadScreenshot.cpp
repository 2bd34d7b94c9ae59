// Walks the real window through the whole road with scripted dialogs and saves a picture of
// the Operations page at the end: a picture loaded into the normal slot, a border, the
// automatic generation, the preview, the GAF file written. Used by scripts/screenshot.sh, which
// also gets the Normal page after the border when the output's name holds "operations".

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <iostream>

#include "WindowTestSupport.h"
#include "imagefiles/modBmp.h"

namespace {

// A green tank on sandy ground under a blue sky, in the nearest game colours: it reads well in a
// screenshot.
void WriteTankPicture(const std::string& file) {
    const auto colour = [](int r, int g, int b) {
        return modPalettes::NearestIndexPlain(modPalettes::GamePalette, r, g, b);
    };
    std::vector<uint8_t> pixels(96 * 96);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) {
            const bool tank = (y >= 50 && y < 70 && x >= 18 && x < 78) || (y >= 38 && y < 50 && x >= 34 && x < 62);
            pixels[static_cast<std::size_t>(y * 96 + x)] = tank     ? colour(70, 100, 40)
                                                           : y < 60 ? colour(60 + y, 110 + y, 200)
                                                                    : colour(250 - y, 220 - y, 100);
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
    QTemporaryDir work;  // the picture, the GAF file and the window's remembered places
    if (!work.isValid()) return std::cerr << "cannot make a temporary folder\n", 1;
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
    frmMain window(std::move(dialog), std::move(prompts), std::make_unique<NoUrlOpener>(),
                   std::make_unique<ScriptedImportOptions>());
    window.show();
    QApplication::processEvents();
    const auto click = [&](const char* name) {
        if (auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(name))) button->click();
        QApplication::processEvents();
    };
    const QString output = QString::fromLocal8Bit(argv[1]);
    window.SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    click("Command1");  // Load BMP
    click("Command4");  // border
    if (output.contains(QStringLiteral("operations")))
        window.grab().save(QString(output).replace(QStringLiteral("operations"), QStringLiteral("normal")), "PNG");
    click("Command28");  // the other two from the file
    window.SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    QApplication::processEvents();
    click("Command26");  // write the GAF file

    for (const ShownMessage& m : said->Messages) std::cout << "message: " << m.Text << '\n';
    if (!QFileInfo::exists(QString::fromStdString(gaf))) return std::cerr << "the GAF file was not written\n", 1;
    if (!window.grab().save(output, "PNG")) return std::cerr << "cannot save " << argv[1] << '\n', 1;
    return 0;
}
