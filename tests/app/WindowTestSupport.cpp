#include "WindowTestSupport.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/PictureEncoders.h"

namespace apptest {

void WritePatternBmp(const std::string& file, int width, int height, int seed) {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (int i = 0; i < width * height; ++i) {
        pixels[static_cast<std::size_t>(i)] = static_cast<uint8_t>((i % width * 7 + i / width * 13 + seed * 31) % 256);
    }
    testsupport::WriteBytes(file, modBmp::EncodeBmp(pixels, modPalettes::GamePalette, width, height));
}

void WritePatternPng(const std::string& file, int width, int height, int seed, int clearColumns) {
    imagefiles::RgbaPicture picture{width, height, {}};
    for (int i = 0; i < width * height; ++i)
        picture.Pixels.insert(
            picture.Pixels.end(),
            {static_cast<uint8_t>(i * 7 + seed), static_cast<uint8_t>(i / width * 9),
             static_cast<uint8_t>(200 - i % width * 3), static_cast<uint8_t>(i % width < clearColumns ? 0 : 255)});
    testsupport::WriteBytes(file, pictureencode::EncodeRgbaPng(picture));
}

Picture Reference(int TAPic, const std::function<void(classUnitGAF&)>& Steps) {
    classUnitGAF reference;
    if (Steps) Steps(reference);
    return *reference.Slot(TAPic);
}

std::map<std::string, Bytes> FilesUnder(const std::filesystem::path& root) {
    std::map<std::string, Bytes> files;
    if (!std::filesystem::exists(root)) return files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
        if (item.is_regular_file()) {
            files[item.path().lexically_relative(root).string()] = testsupport::ReadBytes(item.path());
        }
    }
    return files;
}

void WindowTest::SetUp() {
    QSettings().clear();  // each test starts as a first run
    OpenWindow();
}

void WindowTest::OpenWindow() {
    window.reset();
    auto scriptedDialog = std::make_unique<ScriptedCommonDialog>();
    auto scriptedPrompts = std::make_unique<ScriptedPrompts>();
    auto scriptedImportOptions = std::make_unique<ScriptedImportOptions>();
    dialog = scriptedDialog.get();
    prompts = scriptedPrompts.get();
    importOptions = scriptedImportOptions.get();
    window = std::make_unique<frmMain>(std::move(scriptedDialog), std::move(scriptedPrompts),
                                       std::make_unique<NoUrlOpener>(), std::move(scriptedImportOptions));
    window->show();
    QApplication::processEvents();
}

QAbstractButton* WindowTest::Button(const char* name) const {
    auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name));
    EXPECT_NE(button, nullptr) << name;
    return button;
}

void WindowTest::Click(const char* name, const std::string& file) {
    if (!file.empty()) dialog->Choose(file);
    if (QAbstractButton* button = Button(name)) button->click();
}

QAction* WindowTest::Command(const QString& caption) const {
    for (QAction* action : window->findChildren<QAction*>()) {
        const QString shown = action->text().remove(QLatin1Char('&'));
        if (shown == caption || shown.startsWith(caption + QLatin1Char(' '))) return action;
    }
    ADD_FAILURE() << "no command " << caption.toStdString();
    return nullptr;
}

Strings WindowTest::TakeMessages() {
    Strings texts;
    for (const ShownMessage& m : prompts->Messages) texts.push_back(m.Text);
    prompts->Messages.clear();
    return texts;
}

bool WindowTest::Drop(int page, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at(200, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->SSTab1()->widget(page), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->SSTab1()->widget(page), &drop);
    QApplication::processEvents();  // the file is opened once the drop has finished
    return drop.isAccepted();
}

}  // namespace apptest
