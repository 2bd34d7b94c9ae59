#include "app/GafDrops.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <utility>

GafDrops::GafDrops(QWidget* window, Handler handler) : QObject(window), handler_(std::move(handler)) {}

void GafDrops::Accept(QWidget* window, Handler handler) {
    window->setAcceptDrops(true);
    window->installEventFilter(new GafDrops(window, std::move(handler)));
}

std::string GafDrops::DroppedGaf(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        const QString file = url.toLocalFile();
        if (QFileInfo(file).suffix().compare(QStringLiteral("gaf"), Qt::CaseInsensitive) == 0) {
            return file.toStdString();
        }
    }
    return {};
}

bool GafDrops::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DroppedGaf(drag->mimeData()).empty()) {
                drag->ignore();
            } else {
                drag->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::string file = DroppedGaf(drop->mimeData());
            if (file.empty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            QTimer::singleShot(0, this, [this, file] { handler_(file); });
            return true;
        }
        default: break;
    }
    return QObject::eventFilter(watched, event);
}
