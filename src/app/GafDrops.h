#pragma once
// GAF files dropped onto the window, to be opened in the viewer. The window accepts a drag that
// carries a local .gaf file; a drop hands the file on once the drop itself has finished, so that
// opening it may show a message without holding the dragging program up.

#include <QObject>

#include <functional>
#include <string>

class QMimeData;
class QWidget;

class GafDrops : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const std::string& File)>;

    // Makes window take GAF drops for handler. The filter belongs to the window.
    static void Accept(QWidget* window, Handler handler);

    // The file a drop of data would hand over: the first local file named .gaf (in any case), as
    // UTF-8; empty when there is none.
    static std::string DroppedGaf(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GafDrops(QWidget* window, Handler handler);

    Handler handler_;
};
