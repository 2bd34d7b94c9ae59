#pragma once
// Files dropped onto a widget. The widget accepts a drag that carries a local file its filter
// wants; a drop hands the first such file on once the drop itself has finished, so that the
// handler may show a message or open a dialog without holding the dragging program up.

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QMimeData;
class QWidget;

class FileDrops : public QObject {
    Q_OBJECT
public:
    using Wanted = std::function<bool(const QString& File)>;
    using Handler = std::function<void(const std::string& File)>;

    // Makes widget take drops of the files wanted for handler. The filter belongs to the widget.
    static void Accept(QWidget* widget, Wanted wanted, Handler handler);

    // Named .gaf, in any case: a build-menu icon file rather than a picture.
    static bool IsGafFile(const QString& file);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FileDrops(QWidget* widget, Wanted wanted, Handler handler);

    // The file a drop of data would hand over: the first local file wanted, as UTF-8; empty
    // when there is none.
    std::string Dropped(const QMimeData* data) const;

    Wanted wanted_;
    Handler handler_;
};
