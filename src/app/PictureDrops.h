#pragma once
// Picture files dropped onto a page. The page accepts a drag that carries a local file other than
// a GAF file (GAF files are build-menu icons, not pictures to import: they go on to the window,
// which opens them in the GAF viewer); a drop hands the file to the page's handler once the drop
// itself has finished, so that the handler may open dialogs without holding the dragging program
// up.

#include <QObject>

#include <functional>
#include <string>

class QMimeData;
class QWidget;

class PictureDrops : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const std::string& File)>;

    // Makes page take picture drops for handler. The filter belongs to the page.
    static void Accept(QWidget* page, Handler handler);

    // The file a drop of data would hand over: the first local file that is not a GAF file, as
    // UTF-8; empty when there is none.
    static std::string DroppedPicture(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PictureDrops(QWidget* page, Handler handler);

    Handler handler_;
};
