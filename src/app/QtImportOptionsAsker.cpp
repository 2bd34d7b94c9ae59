#include "app/QtImportOptionsAsker.h"

#include <QColorDialog>

#include "app/AppTexts.h"
#include "app/ImportDialog.h"

std::optional<ImportChoices> QtImportOptionsAsker::Ask(const std::string& Filename,
                                                       const imagefiles::RgbaPicture& Picture,
                                                       const ImportChoices& Start) {
    ImportDialog::Pickers pickers;
    ImportDialog* shown = nullptr;
    pickers.Colour = [&shown](const QColor& current) -> std::optional<QColor> {
        const QColor colour = QColorDialog::getColor(current, shown, QStringLiteral("Background colour"));
        if (!colour.isValid()) return std::nullopt;
        return colour;
    };
    pickers.BackgroundFile = [this]() -> std::optional<std::string> {
        if (fileDialog_ == nullptr) return std::nullopt;
        fileDialog_->Filter = AppTexts::kImportFilter;
        fileDialog_->FilterIndex = 1;
        fileDialog_->DefaultExt = AppTexts::kImportDefaultExt;
        fileDialog_->FileName.clear();
        if (fileDialog_->ShowOpen() == CommonDialog::kCancelError) return std::nullopt;
        return fileDialog_->FileName;
    };
    ImportDialog dialog(Filename, Picture, Start, std::move(pickers), window_);
    shown = &dialog;
    if (dialog.exec() != QDialog::Accepted || !dialog.CanImport()) return std::nullopt;
    return dialog.Choices();
}
