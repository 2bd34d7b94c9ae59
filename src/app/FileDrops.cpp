#include "app/FileDrops.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <utility>

FileDrops::FileDrops(QWidget* widget, Wanted wanted, Handler handler)
    : QObject(widget), wanted_(std::move(wanted)), handler_(std::move(handler)) {}

void FileDrops::Accept(QWidget* widget, Wanted wanted, Handler handler) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(new FileDrops(widget, std::move(wanted), std::move(handler)));
}

bool FileDrops::IsGafFile(const QString& file) {
    return QFileInfo(file).suffix().compare(QStringLiteral("gaf"), Qt::CaseInsensitive) == 0;
}

std::string FileDrops::Dropped(const QMimeData* data) const {
    if (data == nullptr || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        const QString file = url.toLocalFile();
        if (wanted_(file)) return file.toStdString();
    }
    return {};
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (Dropped(drag->mimeData()).empty()) {
                drag->ignore();
            } else {
                drag->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::string file = Dropped(drop->mimeData());
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
