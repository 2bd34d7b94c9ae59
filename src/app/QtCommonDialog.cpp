#include "app/QtCommonDialog.h"

#include <QFileDialog>
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

std::optional<std::string> QtCommonDialog::AskForFile(Kind kind) {
    QFileDialog dialog(window_);
    const bool saving = kind == Kind::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The open dialog does not insist that the file exists (the load reports a missing file),
    // and the save dialog writes over an existing file without asking.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (saving) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(QtNameFilters(Filter).split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(QString::fromStdString(DefaultExt));
    dialog.setDirectory(QString::fromStdString(StartFolder));
    if (!FileName.empty()) dialog.selectFile(QString::fromStdString(FileName));
    dialog.setWindowTitle(saving ? QStringLiteral("Save As") : QStringLiteral("Open"));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}
