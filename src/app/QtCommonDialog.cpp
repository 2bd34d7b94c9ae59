#include "app/QtCommonDialog.h"

#include "app/DialogOwner.h"

#include <QFileDialog>
#include <QRegularExpression>
#include <QStringList>

QString QtCommonDialog::QtNameFilters(const std::string& Filter) {
    const QStringList parts = QString::fromStdString(Filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!description.contains(QLatin1Char('('))) description += QStringLiteral(" (%1)").arg(pattern);
        filters << description;
    }
    if (filters.isEmpty()) filters << QStringLiteral("All files (*)");
    return filters.join(QStringLiteral(";;"));
}

QString QtCommonDialog::DefaultSuffix(const QString& NameFilter, const QString& Fallback) {
    static const QRegularExpression firstPattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = firstPattern.match(NameFilter);
    return match.hasMatch() ? match.captured(1) : Fallback;
}

std::optional<std::string> QtCommonDialog::AskForFile(Kind kind) {
    QFileDialog dialog(DialogOwner(window_));
    const bool saving = kind == Kind::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The open dialog does not insist that the file exists (the load reports a missing file),
    // and the save dialog writes over an existing file without asking.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (saving) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = QtNameFilters(Filter).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    // The first filter takes DefaultExt; a name typed without an extension under another filter
    // gets that filter's, so that a picture saved with the PCX filter is not called .bmp.
    const auto suffixFor = [&filters, this](const QString& nameFilter) {
        const QString defaultExt = QString::fromStdString(DefaultExt);
        return nameFilter == filters.constFirst() ? defaultExt : DefaultSuffix(nameFilter, defaultExt);
    };
    const QString offered = filters.value(FilterIndex - 1, filters.constFirst());
    dialog.selectNameFilter(offered);
    dialog.setDefaultSuffix(suffixFor(offered));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &suffixFor](const QString& chosen) { dialog.setDefaultSuffix(suffixFor(chosen)); });
    dialog.setDirectory(QString::fromStdString(StartFolder));
    if (!FileName.empty()) dialog.selectFile(QString::fromStdString(FileName));
    dialog.setWindowTitle(saving ? QStringLiteral("Save As") : QStringLiteral("Open"));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const qsizetype chosenFilter = filters.indexOf(dialog.selectedNameFilter());
    if (chosenFilter >= 0) FilterIndex = static_cast<int32_t>(chosenFilter + 1);
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<std::string> QtCommonDialog::AskForFolder(const std::string& Title) {
    QFileDialog dialog(DialogOwner(window_));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(QString::fromStdString(StartFolder));
    dialog.setWindowTitle(QString::fromStdString(Title));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}
