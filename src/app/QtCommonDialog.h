#pragma once
// The file dialog shown with Qt's QFileDialog.

#include <QString>

#include "app/CommonDialog.h"

class QWidget;

class QtCommonDialog : public CommonDialog {
public:
    // "BMP files (*.bmp)|*.bmp|PCX files (*.pcx)|*.pcx" -> "BMP files (*.bmp);;PCX files (*.pcx)".
    // A description without its own pattern in brackets gets the pattern appended, since Qt
    // filters by what stands in the brackets.
    static QString QtNameFilters(const std::string& Filter);

protected:
    std::optional<std::string> AskForFile(Kind kind) override;

private:
    // The folder of the last chosen file: later dialogs of the same run open there rather than
    // going back to InitDir every time.
    QString lastFolder_;
};
