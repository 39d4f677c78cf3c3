#pragma once

#include <QLayout>
#include <QSizeF>
#include <vector>

// One axis of a control's pin: which edges are fixed, in design units.
//   Start(a, w):   the near edge a units from the near side, size w;
//   End(a, w):     the far edge a units from the far side, size w;
//   Stretch(a, b): the near edge a units in, the far edge b units in from the far side.
struct Pin {
    enum Kind { StartSize, EndSize, Both };
    Kind kind;
    int a;
    int b;
    static constexpr Pin Start(int a, int size) { return {StartSize, a, size}; }
    static constexpr Pin End(int a, int size) { return {EndSize, a, size}; }
    static constexpr Pin Stretch(int a, int b) { return {Both, a, b}; }
};

// The span [position, position + size) of a pin along an axis of the given
// length, with design units multiplied by zoom.
struct Span {
    int pos;
    int size;
};
Span PlacePin(const Pin& pin, int length, double zoom);

// How much larger than the design units the controls are drawn: the default
// font's letter width and line height against those the layouts were designed for.
QSizeF LayoutZoom();
// A design size converted by the zoom.
QSize ZoomSize(QSize design, QSizeF zoom);

// Places each widget by its horizontal and vertical pin whenever the area
// changes size. It asks nothing of the area: the owner fixes the minimum size.
class PinLayout : public QLayout {
public:
    explicit PinLayout(QSizeF zoom = LayoutZoom()) : zoom_(zoom) {}
    ~PinLayout() override;

    void Add(QWidget& widget, Pin horizontal, Pin vertical);
    QSizeF Zoom() const { return zoom_; }

    // QLayout
    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override { return QSize(0, 0); }
    QSize minimumSize() const override { return QSize(0, 0); }
    void setGeometry(const QRect& rect) override;

private:
    struct Item {
        QLayoutItem* item;
        Pin horizontal;
        Pin vertical;
    };
    std::vector<Item> items_;
    QSizeF zoom_;
};
