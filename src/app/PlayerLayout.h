#pragma once

#include <QPushButton>

#include "app/PinLayout.h"
#include "app/Splitter.h"
#include "playback/ProgressButton.h"
#include "playback/StreamInfo.h"
#include "ui/ProgressLine.h"
#include "ui/Translate.h"

// The main window's controls and where they sit, in design units of a
// 548 x 320 area. The members are declared, and added to the window, in
// keyboard focus order.
template <class Base>
class WithPlayerLayout : public Base {
public:
    static constexpr QSize kDesignSize{548, 320};

    Splitter splitter;
    QPushButton play;
    QPushButton stop;
    QPushButton prev;
    QPushButton next;
    ProgressButton position;
    ProgressButton volume;
    QPushButton exit;
    QPushButton totray;
    StreamInfo info;
    // Takes the now-playing panel's place while music is being added.
    ProgressLine addProgress;

protected:
    // Places the controls into the window's client area, fixes the window's
    // minimum and initial size to the zoomed design size and gives the two
    // labelled buttons their (translated) texts.
    void ApplyPlayerLayout(QSizeF zoom = LayoutZoom())
    {
        auto* pins = new PinLayout(zoom);
        pins->setContentsMargins(0, 0, 0, 0);
        pins->setSizeConstraint(QLayout::SetNoConstraint);
        pins->Add(splitter, Pin::Stretch(4, 4), Pin::Stretch(4, 60));
        pins->Add(play, Pin::Start(4, 56), Pin::End(4, 52));
        pins->Add(stop, Pin::Start(64, 36), Pin::End(4, 52));
        pins->Add(prev, Pin::End(132, 60), Pin::End(4, 24));
        pins->Add(next, Pin::End(72, 56), Pin::End(4, 24));
        pins->Add(position, Pin::Stretch(104, 196), Pin::End(34, 20));
        pins->Add(volume, Pin::End(72, 120), Pin::End(34, 20));
        pins->Add(exit, Pin::End(4, 64), Pin::End(32, 24));
        pins->Add(totray, Pin::End(4, 64), Pin::End(4, 24));
        pins->Add(info, Pin::Stretch(104, 196), Pin::End(4, 28));
        pins->Add(addProgress, Pin::Stretch(104, 196), Pin::End(4, 28));
        addProgress.hide();
        delete this->Client().layout();
        this->Client().setLayout(pins);

        TranslateLayoutLabels();

        const QSize size = ZoomSize(kDesignSize, zoom);
        this->MinSize(size);
        this->resize(size);
    }

    // The two labelled buttons' texts in the current language.
    void TranslateLayoutLabels()
    {
        exit.setText(QString::fromUtf8(Translate("Exit")));
        totray.setText(QString::fromUtf8(Translate("To tray")));
    }
};
