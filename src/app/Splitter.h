#pragma once

#include <QSplitter>

#include "core/Stream.h"

// A two-pane horizontal splitter whose divider position is kept on a scale of
// 0 to 10000 of its width, so the panes keep their proportion when it resizes.
class Splitter : public QSplitter {
public:
    static constexpr int kScale = 10000;

    Splitter();

    // Puts widget into pane 0 or 1, in place of what was there; the widget
    // that was there is taken out of the splitter (hidden, without parent).
    void SetPane(int pane, QWidget& widget);
    QWidget* GetPane(int pane) const { return widget(pane); }

    void SetPos(int pos);
    int GetPos() const { return pos_; }

    // The position; a value outside the scale is a load error.
    void Serialize(Stream& s);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyPos();

    int pos_ = kScale / 2;
    bool applying_ = false;
};
