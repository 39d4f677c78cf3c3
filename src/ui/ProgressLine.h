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

    // Shows `fixed` whole and as much of the end of `detail` after it as fits.
    void SetText(const std::string& fixed, const std::string& detail = {});
    // The whole text, however much of it fits.
    std::string GetText() const { return (fixed_ + detail_).toStdString(); }
    QPushButton& CancelButton() { return cancel_; }

    std::function<void()> WhenCancel;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Cancel();
    void Elide();

    QString fixed_;
    QString detail_;
    QLabel label_;
    QPushButton cancel_;
};
