#pragma once

#include <QApplication>
#include <QCursor>

// Shows the busy cursor while a long operation runs on the user-interface
// thread; the previous cursor comes back when the object goes.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
