#include "app/PictureDrops.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <utility>

PictureDrops::PictureDrops(QWidget* page, Handler handler) : QObject(page), handler_(std::move(handler)) {}

void PictureDrops::Accept(QWidget* page, Handler handler) {
    page->setAcceptDrops(true);
    page->installEventFilter(new PictureDrops(page, std::move(handler)));
}

std::string PictureDrops::DroppedPicture(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        const QString file = url.toLocalFile();
        if (QFileInfo(file).suffix().compare(QStringLiteral("gaf"), Qt::CaseInsensitive) == 0) continue;
        return file.toStdString();
    }
    return {};
}

bool PictureDrops::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DroppedPicture(drag->mimeData()).empty()) {
                drag->ignore();
            } else {
                drag->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::string file = DroppedPicture(drop->mimeData());
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
