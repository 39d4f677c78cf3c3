#include "ui/Images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <map>

namespace {

struct Entry {
    std::function<QImage()> draw;
    QImage image;
    bool drawn = false;
};

struct Registry {
    std::map<std::string, Entry> byName;
    std::vector<std::string> order;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

void RegisterImage(const std::string& name, std::function<QImage()> draw)
{
    Registry& r = TheRegistry();
    auto [it, added] = r.byName.try_emplace(name);
    if (added)
        r.order.push_back(name);
    it->second = Entry{std::move(draw), QImage(), false};
}

const QImage& GetImage(const std::string& name)
{
    static const QImage none;
    Registry& r = TheRegistry();
    auto it = r.byName.find(name);
    if (it == r.byName.end())
        return none;
    Entry& e = it->second;
    if (!e.drawn) {
        e.image = e.draw ? e.draw() : QImage();
        e.drawn = true;
    }
    return e.image;
}

std::vector<std::string> ImageNames()
{
    return TheRegistry().order;
}

// ---- The player's artwork: flat glyphs with a soft vertical gradient and a
// darker outline, all in one family of colours so the buttons match.

namespace {

struct Palette {
    QColor top, bottom, outline;
};

const Palette kGreen{QColor(120, 214, 120), QColor(34, 139, 58), QColor(20, 90, 36)};
const Palette kGreenFlash{QColor(214, 255, 200), QColor(110, 220, 110), QColor(40, 130, 50)};
const Palette kBlue{QColor(130, 170, 240), QColor(40, 80, 170), QColor(25, 45, 110)};
const Palette kBlueFlash{QColor(215, 230, 255), QColor(120, 160, 240), QColor(45, 75, 150)};
const Palette kRed{QColor(240, 130, 120), QColor(170, 40, 40), QColor(110, 25, 25)};
const Palette kSlate{QColor(150, 160, 180), QColor(60, 70, 95), QColor(35, 40, 60)};

QImage Blank(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Fills path on image with the palette's gradient and outlines it.
void Glyph(QImage& image, const QPainterPath& path, const Palette& p)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = path.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, p.top);
    fill.setColorAt(1, p.bottom);
    painter.setBrush(fill);
    painter.setPen(QPen(p.outline, std::max(1.0, image.height() / 24.0), Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.drawPath(path);
}

// A triangle pointing right (or left) inside the box.
QPainterPath Triangle(QRectF box, bool right)
{
    QPainterPath path;
    if (right) {
        path.moveTo(box.left(), box.top());
        path.lineTo(box.right(), box.center().y());
        path.lineTo(box.left(), box.bottom());
    } else {
        path.moveTo(box.right(), box.top());
        path.lineTo(box.left(), box.center().y());
        path.lineTo(box.right(), box.bottom());
    }
    path.closeSubpath();
    return path;
}

QPainterPath RoundRect(QRectF box, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

QImage Play(int size, const Palette& p, bool right = true)
{
    QImage image = Blank(size, size);
    const qreal m = size * 0.14;
    Glyph(image, Triangle(QRectF(m * 1.3, m, size - 2.3 * m, size - 2 * m), right), p);
    return image;
}

QImage Pause(int size, const Palette& p)
{
    QImage image = Blank(size, size);
    const qreal m = size * 0.16, bar = size * 0.24, r = size * 0.06;
    QPainterPath path = RoundRect(QRectF(m, m, bar, size - 2 * m), r);
    path.addPath(RoundRect(QRectF(size - m - bar, m, bar, size - 2 * m), r));
    Glyph(image, path, p);
    return image;
}

QImage Stop(int size)
{
    QImage image = Blank(size, size);
    const qreal m = size * 0.15;
    Glyph(image, RoundRect(QRectF(m, m, size - 2 * m, size - 2 * m), size * 0.1), kRed);
    return image;
}

// Two triangles and a bar: skip to the next (forward) or previous track.
QImage Skip(int w, int h, bool forward)
{
    QImage image = Blank(w, h);
    const qreal m = h * 0.12, bar = std::max(2.0, w * 0.08);
    const qreal tri = (w - 2 * m - bar) / 2;
    QPainterPath path;
    if (forward) {
        path.addPath(Triangle(QRectF(m, m, tri, h - 2 * m), true));
        path.addPath(Triangle(QRectF(m + tri, m, tri, h - 2 * m), true));
        path.addPath(RoundRect(QRectF(w - m - bar, m, bar, h - 2 * m), bar * 0.3));
    } else {
        path.addPath(RoundRect(QRectF(m, m, bar, h - 2 * m), bar * 0.3));
        path.addPath(Triangle(QRectF(m + bar, m, tri, h - 2 * m), false));
        path.addPath(Triangle(QRectF(m + bar + tri, m, tri, h - 2 * m), false));
    }
    Glyph(image, path, kSlate);
    return image;
}

// The program icon: a blue rounded tile with a white eighth note.
QImage Icon(int size)
{
    QImage image = Blank(size, size);
    Glyph(image, RoundRect(QRectF(0.5, 0.5, size - 1, size - 1), size * 0.2), kBlue);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    const qreal s = size / 16.0;
    painter.drawEllipse(QRectF(3.5 * s, 9.5 * s, 4.5 * s, 3.6 * s));
    painter.drawRect(QRectF(6.8 * s, 3 * s, 1.3 * s, 8 * s));
    QPainterPath flag;
    flag.moveTo(8.1 * s, 3 * s);
    flag.cubicTo(10 * s, 4 * s, 12.5 * s, 5 * s, 11.5 * s, 8.5 * s);
    flag.cubicTo(11.2 * s, 6.5 * s, 9.8 * s, 6 * s, 8.1 * s, 5.6 * s);
    flag.closeSubpath();
    painter.drawPath(flag);
    return image;
}

// Registers the player's images in their fixed order before main runs.
struct PlayerImages {
    PlayerImages()
    {
        RegisterImage("ImgPlayForwardSmall", [] { return Play(16, kGreen); });
        RegisterImage("ImgPlayForward", [] { return Play(36, kGreen); });
        RegisterImage("ImgPlayForwardFlash", [] { return Play(36, kGreenFlash); });
        RegisterImage("ImgPause", [] { return Pause(36, kBlue); });
        RegisterImage("ImgPauseFlash", [] { return Pause(36, kBlueFlash); });
        RegisterImage("ImgStop", [] { return Stop(24); });
        RegisterImage("ImgPlayBackward", [] { return Play(36, kGreen, false); });
        RegisterImage("ImgPrevKey", [] { return Skip(16, 12, false); });
        RegisterImage("ImgNextKey", [] { return Skip(16, 12, true); });
        RegisterImage("ImgPrev", [] { return Skip(32, 16, false); });
        RegisterImage("ImgNext", [] { return Skip(32, 16, true); });
        RegisterImage("ImgIcon", [] { return Icon(16); });
        RegisterImage("ImgLargeIcon", [] { return Icon(32); });
    }
} const playerImages;

} // namespace

const QImage& ImgPlayForwardSmall() { return GetImage("ImgPlayForwardSmall"); }
const QImage& ImgPlayForward() { return GetImage("ImgPlayForward"); }
const QImage& ImgPlayForwardFlash() { return GetImage("ImgPlayForwardFlash"); }
const QImage& ImgPause() { return GetImage("ImgPause"); }
const QImage& ImgPauseFlash() { return GetImage("ImgPauseFlash"); }
const QImage& ImgStop() { return GetImage("ImgStop"); }
const QImage& ImgPlayBackward() { return GetImage("ImgPlayBackward"); }
const QImage& ImgPrevKey() { return GetImage("ImgPrevKey"); }
const QImage& ImgNextKey() { return GetImage("ImgNextKey"); }
const QImage& ImgPrev() { return GetImage("ImgPrev"); }
const QImage& ImgNext() { return GetImage("ImgNext"); }
const QImage& ImgIcon() { return GetImage("ImgIcon"); }
const QImage& ImgLargeIcon() { return GetImage("ImgLargeIcon"); }
