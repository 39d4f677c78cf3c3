#include "desktop/UrlDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

UrlDrop::UrlDrop(Handler whenDropped, QObject* parent) : QObject(parent), whenDropped_(std::move(whenDropped)) {}

void UrlDrop::Watch(QWidget& widget)
{
    widget.setAcceptDrops(true);
    widget.installEventFilter(this);
}

std::vector<std::string> UrlDrop::LocalPaths(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths.push_back(url.toLocalFile().toStdString());
    return paths;
}

bool UrlDrop::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (LocalPaths(drag->mimeData()).empty())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::vector<std::string> paths = LocalPaths(drop->mimeData());
        if (paths.empty())
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (whenDropped_)
            whenDropped_(paths, drop->position().toPoint());
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
