#include "app/QtMainWindow.h"

#include "app/DialogOwner.h"
#include "app/QtCommonDialog.h"
#include "app/QtImportOptionsAsker.h"
#include "app/QtPrompts.h"
#include "app/QtUrlOpener.h"
#include "app/frmMain.h"

std::unique_ptr<frmMain> MakeQtMainWindow() {
    FollowDialogOwners();
    auto dialog = std::make_unique<QtCommonDialog>();
    auto prompts = std::make_unique<QtPrompts>();
    QtCommonDialog* dialogRef = dialog.get();
    QtPrompts* promptsRef = prompts.get();
    auto importOptions = std::make_unique<QtImportOptionsAsker>();
    QtImportOptionsAsker* importOptionsRef = importOptions.get();
    auto window = std::make_unique<frmMain>(std::move(dialog), std::move(prompts), std::make_unique<QtUrlOpener>(),
                                            std::move(importOptions));
    dialogRef->SetParentWindow(window.get());
    promptsRef->SetParentWindow(window.get());
    importOptionsRef->SetParentWindow(window.get());
    importOptionsRef->SetFileDialog(dialogRef);
    return window;
}
