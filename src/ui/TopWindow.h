#pragma once

#include <QWidget>

#include "core/Stream.h"

class QAbstractButton;
class QEventLoop;
class QImage;
class QMenuBar;

// A top-level window that runs its own modal loop until it is closed and
// returns a code. Controls go into Client(); frames such as a menu bar sit
// above it and take their height from the client, not from the window.
class TopWindow : public QWidget {
public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;

    TopWindow();
    ~TopWindow() override;

    // The area below the frames in which the window's controls are placed.
    QWidget& Client() { return *client_; }

    void Title(const String& title);
    String GetTitle() const;
    // The small icon (title bar) and the large one (task switcher).
    void Icon(const QImage& small, const QImage& large);
    // The window's smallest size, frames included.
    void MinSize(QSize size);
    void Sizeable(bool sizeable = true);
    void MinimizeBox(bool on = true);
    void MaximizeBox(bool on = true);

    // Adds a menu bar as a frame at the top; the window takes ownership.
    void AddMenuBar(QMenuBar* menuBar);
    QMenuBar* GetMenuBar() const { return menuBar_; }

    // Pressing the cancel button ends the run with IDCANCEL; Escape presses it
    // whenever the control with the focus does not take the key itself.
    void CancelButton(QAbstractButton* button);

    // Shows the window and runs its loop until Break or Close; hides it again
    // and returns the code. Other windows stay usable (not application-modal).
    int Run();
    bool IsRunning() const { return loop_ != nullptr; }
    void Break(int code);
    // The window's close operation: ends a run (with IDCANCEL when there is a
    // cancel button, else IDOK), or hides a window that is not running.
    void Close();

    // Placement: the normal rectangle and whether the window is maximised.
    // A minimised window is stored as it would be restored. Loading rejects
    // rectangles no window can have; a rectangle that lies on no screen keeps
    // only its size, so the window cannot be lost off-screen.
    void SerializePlacement(Stream& s);
    // The window's state for the configuration file; a window that keeps
    // more than its placement extends it.
    virtual void Serialize(Stream& s) { SerializePlacement(s); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ArrangeFrames();

    QWidget* client_;
    QMenuBar* menuBar_ = nullptr;
    QAbstractButton* cancel_ = nullptr;
    QEventLoop* loop_ = nullptr;
};
