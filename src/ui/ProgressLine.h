#pragma once

#include <functional>
#include <string>

#include <QFrame>
#include <QLabel>
#include <QPushButton>

// A slim line telling what a background task is doing, with a Cancel button.
// Escape cancels while the line or its button has the keyboard focus.
class ProgressLine : public QFrame {
public:
    explicit ProgressLine(QWidget* parent = nullptr);

    void SetText(const std::string& text);
    std::string GetText() const { return label_.text().toStdString(); }
    QPushButton& CancelButton() { return cancel_; }

    std::function<void()> WhenCancel;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Cancel();

    QLabel label_;
    QPushButton cancel_;
};
