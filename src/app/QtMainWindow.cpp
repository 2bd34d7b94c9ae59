#include "app/QtMainWindow.h"

#include "app/QtCommonDialog.h"
#include "app/QtPrompts.h"
#include "app/QtUrlOpener.h"
#include "app/frmMain.h"

std::unique_ptr<frmMain> MakeQtMainWindow() {
    auto dialog = std::make_unique<QtCommonDialog>();
    auto prompts = std::make_unique<QtPrompts>();
    QtCommonDialog* dialogRef = dialog.get();
    QtPrompts* promptsRef = prompts.get();
    auto window = std::make_unique<frmMain>(std::move(dialog), std::move(prompts), std::make_unique<QtUrlOpener>());
    dialogRef->SetParentWindow(window.get());
    promptsRef->SetParentWindow(window.get());
    return window;
}
