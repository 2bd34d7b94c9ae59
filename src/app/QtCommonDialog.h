#pragma once
// The file dialog shown with Qt's QFileDialog, as a child of the main window.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/CommonDialog.h"

class QtCommonDialog : public CommonDialog {
public:
    // "BMP files (*.bmp)|*.bmp|PCX files (*.pcx)|*.pcx" -> "BMP files (*.bmp);;PCX files (*.pcx)".
    // A description without its own pattern in brackets gets the pattern appended, since Qt
    // filters by what stands in the brackets.
    static QString QtNameFilters(const std::string& Filter);
    // The extension of a Qt name filter's first pattern ("PCX files (*.pcx)" -> "pcx"), or
    // Fallback when it has none such as "*".
    static QString DefaultSuffix(const QString& NameFilter, const QString& Fallback);

    void SetParentWindow(QWidget* window) { window_ = window; }

protected:
    std::optional<std::string> AskForFile(Kind kind) override;
    std::optional<std::string> AskForFolder(const std::string& Title) override;

private:
    QPointer<QWidget> window_;
};
