// Button faces of the grid toolbar: flat glyphs with a dark outline, one blue family
// for navigation and moving, green for adding and red for deleting.

#include "ui/GridImages.h"

#include <functional>

#include <QPainter>
#include <QPainterPath>

#include "ui/Images.h"

namespace {

constexpr int kSize = 16;
const QColor kOutline(35, 55, 105);
const QColor kBlue(85, 130, 215);
const QColor kGreen(60, 160, 70);
const QColor kGreenOutline(25, 90, 35);
const QColor kRed(210, 55, 50);
const QColor kRedOutline(120, 20, 20);

QImage Draw(const std::function<void(QPainter&)>& paint)
{
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return image;
}

void Shape(QPainter& p, const QPainterPath& path, const QColor& fill, const QColor& outline)
{
    p.setPen(QPen(outline, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// A plus or a cross: two bars 4 pixels thick through the centre.
QPainterPath Plus()
{
    QPainterPath path;
    path.addRect(QRectF(6.5, 2.5, 3, 11));
    path.addRect(QRectF(2.5, 6.5, 11, 3));
    return path.simplified();
}

QPainterPath Magnifier(double scale)
{
    QPainterPath path;
    path.addEllipse(QPointF(6.5 * scale, 6.5 * scale), 4.5 * scale, 4.5 * scale);
    return path;
}

void Lens(QPainter& p, double scale)
{
    p.setPen(QPen(kOutline, 2.5 * scale, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10 * scale, 10 * scale), QPointF(14 * scale, 14 * scale));
    Shape(p, Magnifier(scale), QColor(215, 232, 255), kOutline);
}

// A triangle pointing left (dir -1) or right (dir 1) spanning [x0, x0 + 6].
QPainterPath Pointer(double x0, int dir)
{
    if (dir < 0)
        return Polygon({{x0, 8}, {x0 + 6, 2.5}, {x0 + 6, 13.5}});
    return Polygon({{x0 + 6, 8}, {x0, 2.5}, {x0, 13.5}});
}

QPainterPath Arrow(int dir)
{
    // Upward arrow, mirrored for down.
    const auto y = [dir](double v) { return dir < 0 ? v : kSize - v; };
    return Polygon({{8, y(1.5)}, {14, y(8)}, {10.5, y(8)}, {10.5, y(14.5)}, {5.5, y(14.5)}, {5.5, y(8)}, {2, y(8)}});
}

struct Face {
    const char* name;
    std::function<void(QPainter&)> paint;
};

const Face kFaces[] = {
    {"ImgGridAdd", [](QPainter& p) { Shape(p, Plus(), kGreen, kGreenOutline); }},
    {"ImgGridMod",
     [](QPainter& p) {
         // A pencil lying from bottom left to top right.
         Shape(p, Polygon({{2, 14}, {3, 10.5}, {11, 2.5}, {13.5, 5}, {5.5, 13}}), QColor(245, 200, 80), kOutline);
         Shape(p, Polygon({{2, 14}, {3, 10.5}, {5.5, 13}}), kOutline, kOutline);
     }},
    {"ImgGridDel",
     [](QPainter& p) {
         QTransform turn;
         turn.translate(8, 8).rotate(45).translate(-8, -8);
         Shape(p, turn.map(Plus()), kRed, kRedOutline);
     }},
    {"ImgGridFind", [](QPainter& p) { Lens(p, 1.0); }},
    {"ImgGridFindOpts",
     [](QPainter& p) {
         Lens(p, 0.7);
         Shape(p, Polygon({{8.5, 10}, {15, 10}, {11.75, 14.5}}), kBlue, kOutline);
     }},
    {"ImgGridMoveUp", [](QPainter& p) { Shape(p, Arrow(-1), kBlue, kOutline); }},
    {"ImgGridMoveDn", [](QPainter& p) { Shape(p, Arrow(1), kBlue, kOutline); }},
    {"ImgGridFirstRec",
     [](QPainter& p) {
         Shape(p, Polygon({{2.5, 2.5}, {5, 2.5}, {5, 13.5}, {2.5, 13.5}}), kBlue, kOutline);
         Shape(p, Pointer(7, -1), kBlue, kOutline);
     }},
    {"ImgGridPrevRec", [](QPainter& p) { Shape(p, Pointer(5, -1), kBlue, kOutline); }},
    {"ImgGridNextRec", [](QPainter& p) { Shape(p, Pointer(5, 1), kBlue, kOutline); }},
    {"ImgGridLastRec",
     [](QPainter& p) {
         Shape(p, Pointer(3, 1), kBlue, kOutline);
         Shape(p, Polygon({{11, 2.5}, {13.5, 2.5}, {13.5, 13.5}, {11, 13.5}}), kBlue, kOutline);
     }},
};

// Registered on first use rather than during static start-up, so the player's own
// images keep their places at the front of the registry.
const QImage& Named(const char* name)
{
    static const bool registered = [] {
        for (const Face& face : kFaces)
            RegisterImage(face.name, [paint = face.paint] { return Draw(paint); });
        return true;
    }();
    (void)registered;
    return GetImage(name);
}

}  // namespace

const QImage& ImgGridAdd() { return Named("ImgGridAdd"); }
const QImage& ImgGridMod() { return Named("ImgGridMod"); }
const QImage& ImgGridDel() { return Named("ImgGridDel"); }
const QImage& ImgGridFind() { return Named("ImgGridFind"); }
const QImage& ImgGridFindOpts() { return Named("ImgGridFindOpts"); }
const QImage& ImgGridMoveUp() { return Named("ImgGridMoveUp"); }
const QImage& ImgGridMoveDn() { return Named("ImgGridMoveDn"); }
const QImage& ImgGridFirstRec() { return Named("ImgGridFirstRec"); }
const QImage& ImgGridPrevRec() { return Named("ImgGridPrevRec"); }
const QImage& ImgGridNextRec() { return Named("ImgGridNextRec"); }
const QImage& ImgGridLastRec() { return Named("ImgGridLastRec"); }
