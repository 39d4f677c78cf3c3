#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <string>

#include "core/Value.h"
#include "playback/DisplayDrawing.h"
#include "playback/PaintPacer.h"

class QPainter;

// A flat horizontal bar that shows a percentage with a caption
// ("<label> : <value> %") and lets the user set it with the mouse.
// The owner sets the public settings directly after construction.
class ProgressButton : public QWidget {
public:
    explicit ProgressButton(QWidget* parent = nullptr);
    ~ProgressButton() override;

    // Sets the value shown, not clamped, and repaints what changed (paced: see PaintPacer).
    void Set(float v);
    float Get() const { return value; }

    // True while a press on the bar is held (the user is dragging it).
    bool HasCapture() const { return capture; }

    bool gradient = true;                    // blend gradientColor..fillColor instead of one colour
    bool live = false;                       // fire on press and every move instead of on release
    QColor gradientColor = QColor(255, 255, 0);
    QColor fillColor = QColor(255, 0, 0);
    String label;                            // caption drawn before the value

    // Fired when the user sets the value (see `live`).
    std::function<void()> WhenAction;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    virtual void Paint(QPainter& painter);

private:
    void Action();
    // The percentage of the control's width at x; not clamped.
    float ValueAt(int x) const;
    // The caption for a value.
    QString Caption(float v) const;
    // A caption as drawn: its number (ValueText), and where it is drawn for
    // the label and size it was measured with.
    struct Shown {
        bool valid = false;
        std::string text;
        String label;
        QSize size;
        QRect rect;
    };
    Shown Measure(std::string text);
    // The width of the caption that shows number.
    int CaptionWidth(const std::string& number);
    // Where two captions of the same bar differ.
    QRect ChangedPart(const Shown& was, const Shown& now);

    float value = 0.0f;
    bool capture = false;
    NumericTextWidth widths_;
    Shown caption_;  // of `value`, kept so that each Set measures only the new caption
    PaintPacer pacer_{this};
    // The area a paint event asks for; the whole control when Paint is called otherwise.
    QRect paintRect_;
};
