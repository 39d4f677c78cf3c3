#pragma once

#include <QString>
#include <QWidget>

// The small floating text window that follows the pointer while rows are dragged.
// It has no frame of the window system and never takes the focus.
class GridPopUp : public QWidget {
public:
    GridPopUp();

    // Shows the text with the window's top-left corner at a global position;
    // the window is 6 pixels taller than its text.
    void ShowAt(const QString& text, const QPoint& globalTopLeft);
    const QString& GetText() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};
