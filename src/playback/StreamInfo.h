#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include "core/Value.h"
#include "playback/DisplayDrawing.h"
#include "playback/PaintPacer.h"

class QPainter;

// The now-playing panel: while idle it shows one centred title; while a
// track plays, the title on a pale field and the elapsed time in a light
// blue box at the right, separated by a black line.
class StreamInfo : public QWidget {
public:
    static constexpr const char* kIdleTitle = "Quillon Player";

    explicit StreamInfo(QWidget* parent = nullptr);
    ~StreamInfo() override;

    // Each switches to the two-field look and repaints; a new time is
    // repainted at the display's pace (see PaintPacer), and a change of its
    // hundredths alone only when the second changes or the time stands still.
    void SetTitle(const String& text);
    void SetTime(const String& text);
    // Back to the idle look with the program's name; the time text is kept.
    void Clear();

    const String& GetTitle() const { return title; }
    const String& GetTime() const { return time; }
    bool IsIdle() const { return idle; }

protected:
    void paintEvent(QPaintEvent* event) override;
    virtual void Paint(QPainter& painter);

private:
    // Where the time box starts (its separator line) for a time text of that width.
    int Separator(int timeWidth) const { return width() - timeWidth - 10; }
    int TextWidth(const QString& text);

    String title = kIdleTitle;
    String time = "00:00:00";
    bool idle = true;

    // The panel font and the texts as drawn, with their widths, kept between
    // paints: the time changes a hundred times a second, the rest seldom.
    QFont font_;
    QString titleText_;
    QString timeText_;
    int titleWidth_ = 0;
    int timeWidth_ = 0;
    int textHeight_ = 0;  // of the panel font, which has a pixel size: the same on every device
    NumericTextWidth widths_;
    // Draws the time; apart from widths_, which measures in the font as set, not as painted.
    NumericTextWidth timeGlyphs_;
    PaintPacer pacer_{this};
    // The area a paint event asks for; empty when Paint is called otherwise.
    QRect paintRect_;
};
