#include "app/RememberedPlaces.h"

namespace {

QString FolderKey(const std::string& DialogKind) {
    return QStringLiteral("Folders/") + QString::fromStdString(DialogKind);
}

const QString kWindowPositionKey = QStringLiteral("Window/Position");

}  // namespace

std::string RememberedPlaces::LastFolder(const std::string& DialogKind) const {
    return settings_.value(FolderKey(DialogKind)).toString().toStdString();
}

void RememberedPlaces::RememberFolder(const std::string& DialogKind, const std::string& Folder) {
    settings_.setValue(FolderKey(DialogKind), QString::fromStdString(Folder));
}

std::optional<QPoint> RememberedPlaces::WindowPosition() const {
    const QVariant position = settings_.value(kWindowPositionKey);
    if (!position.canConvert<QPoint>()) return std::nullopt;
    return position.toPoint();
}

void RememberedPlaces::RememberWindowPosition(QPoint Position) {
    settings_.setValue(kWindowPositionKey, Position);
    settings_.sync();
}
