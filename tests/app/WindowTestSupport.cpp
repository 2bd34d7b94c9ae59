#include "WindowTestSupport.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "display/BlockMapping.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"

namespace apptest {

void WritePatternBmp(const std::string& file, int width, int height, int seed) {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (int i = 0; i < width * height; ++i) {
        pixels[static_cast<std::size_t>(i)] = static_cast<uint8_t>((i % width * 7 + i / width * 13 + seed * 31) % 256);
    }
    testsupport::WriteBytes(file, modBmp::EncodeBmp(pixels, modPalettes::GamePalette, width, height));
}

Picture Reference(int TAPic, const std::function<void(classUnitGAF&)>& Steps) {
    classUnitGAF reference;
    if (Steps) Steps(reference);
    return *reference.Slot(TAPic);
}

std::vector<uint32_t> ColoursOf(const Picture& picture) {
    std::vector<uint32_t> colours;
    for (uint8_t index : picture) colours.push_back(BlockMapping::ColourOf(modPalettes::GamePalette[index]));
    return colours;
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
                                       std::make_unique<RecordingUrlOpener>(), std::move(scriptedImportOptions));
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

namespace {
QString Shown(QString caption) { return caption.remove(QLatin1Char('&')); }

QMenu* MenuOf(const frmMain& window, const QString& title) {
    for (QAction* entry : window.MenuBar()->actions()) {
        if (entry->menu() != nullptr && Shown(entry->text()) == title) return entry->menu();
    }
    ADD_FAILURE() << "no menu " << title.toStdString();
    return nullptr;
}
}  // namespace

QAction* WindowTest::MenuCommand(const QString& menu, const QString& caption) const {
    if (QMenu* m = MenuOf(*window, menu)) {
        for (QAction* action : m->actions()) {
            if (Shown(action->text()) == caption) return action;
        }
    }
    ADD_FAILURE() << "no command " << caption.toStdString() << " in " << menu.toStdString();
    return nullptr;
}

QAction* WindowTest::UndoCommand() const { return MenuOf(*window, QStringLiteral("Edit"))->actions().at(0); }
QAction* WindowTest::RedoCommand() const { return MenuOf(*window, QStringLiteral("Edit"))->actions().at(1); }

Strings WindowTest::TakeMessages() {
    Strings texts;
    for (const ShownMessage& m : prompts->Messages) texts.push_back(m.Text);
    prompts->Messages.clear();
    return texts;
}

}  // namespace apptest
