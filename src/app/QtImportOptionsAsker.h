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

    std::optional<ImportChoices> Ask(const std::string& Filename, const imagefiles::RgbaPicture& Picture,
                                     const ImportChoices& Start) override;

private:
    QPointer<QWidget> window_;
    // The background's own file dialog, so that choosing a background leaves the window's file
    // dialog naming the picture being imported.
    QtCommonDialog backgroundDialog_;
};
