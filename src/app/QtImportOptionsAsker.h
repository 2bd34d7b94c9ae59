#pragma once
// The import options asked with the import dialog, a child of the main window; its background
// buttons open Qt's colour dialog and file dialog.

#include <QPointer>
#include <QWidget>

#include "app/ImportOptionsAsker.h"
#include "app/QtCommonDialog.h"

class QtImportOptionsAsker : public ImportOptionsAsker {
public:
    void SetParentWindow(QWidget* window) { window_ = window; }
    // The window's file dialog, which the background picture is chosen with: it starts where the
    // window's dialogs start and remembers its folder as they do.
    void SetFileDialog(CommonDialog* dialog) { fileDialog_ = dialog; }

    std::optional<ImportChoices> Ask(const std::string& Filename, const imagefiles::RgbaPicture& Picture,
                                     const ImportChoices& Start) override;

private:
    QPointer<QWidget> window_;
    CommonDialog* fileDialog_ = nullptr;
};
