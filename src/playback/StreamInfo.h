#pragma once

#include <QWidget>

#include "core/Value.h"

class QPainter;

// The now-playing panel: while idle it shows one centred title; while a
// track plays, the title on a pale field and the elapsed time in a light
// blue box at the right, separated by a black line.
class StreamInfo : public QWidget {
public:
    static constexpr const char* kIdleTitle = "Quillon Player";

    explicit StreamInfo(QWidget* parent = nullptr);
    ~StreamInfo() override;

    // Each switches to the two-field look and repaints.
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
    String title = kIdleTitle;
    String time = "00:00:00";
    bool idle = true;
};
