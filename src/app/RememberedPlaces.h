#pragma once
// What the window keeps from one run to the next in the user's settings (QSettings, under the
// organisation and application names the program sets): the folder each kind of file dialog
// was last used in, and where the window stood.

#include <QPoint>
#include <QSettings>

#include <optional>
#include <string>

#include "app/CommonDialog.h"

class RememberedPlaces : public CommonDialog::Places {
public:
    std::string LastFolder(const std::string& DialogKind) const override;
    void RememberFolder(const std::string& DialogKind, const std::string& Folder) override;

    std::optional<QPoint> WindowPosition() const;
    void RememberWindowPosition(QPoint Position);

private:
    QSettings settings_;
};
