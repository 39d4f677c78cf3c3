#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <string>
#include <vector>

class QMimeData;
class QWidget;

// Lets a widget take files dragged from a file manager: it accepts drags that
// carry local file URLs and hands the dropped paths, with the drop point in
// the widget's coordinates, to `whenDropped`. Other drags pass through
// untouched, so the widget's own dragging keeps working.
class UrlDrop : public QObject {
public:
    using Handler = std::function<void(const std::vector<std::string>& paths, QPoint position)>;

    explicit UrlDrop(Handler whenDropped, QObject* parent = nullptr);
    void SetHandler(Handler whenDropped) { whenDropped_ = std::move(whenDropped); }

    // Starts filtering the widget's drag and drop events; the widget accepts drops from now on.
    void Watch(QWidget& widget);

    // The local paths a drag carries, in its order; URLs of other schemes are left out.
    static std::vector<std::string> LocalPaths(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler whenDropped_;
};
