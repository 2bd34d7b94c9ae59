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
        backgroundDialog_.Filter = AppTexts::kImportFilter;
        backgroundDialog_.DefaultExt = AppTexts::kImportDefaultExt;
        backgroundDialog_.FileName.clear();
        if (backgroundDialog_.ShowOpen() == CommonDialog::kCancelError) return std::nullopt;
        return backgroundDialog_.FileName;
    };
    ImportDialog dialog(Filename, Picture, Start, std::move(pickers), window_);
    shown = &dialog;
    backgroundDialog_.SetParentWindow(&dialog);
    if (dialog.exec() != QDialog::Accepted || !dialog.ChoicesValid()) return std::nullopt;
    return dialog.Choices();
}
