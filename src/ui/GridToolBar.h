#pragma once

#include <vector>

#include <QPointer>
#include <QWidget>

#include "ui/Bar.h"

class QHBoxLayout;

// A row of image buttons, gaps, separators and embedded controls built from a Bar.
// It draws a separator line on the edge that faces the grid's cells.
class GridToolBar : public QWidget {
public:
    explicit GridToolBar(QWidget* parent);

    // Replaces the contents with what the builder adds. Embedded controls are
    // only borrowed: they stay children of the toolbar and are hidden when dropped.
    void Build(const Bar::Builder& builder);
    // Which edge carries the separator line: the top one when the toolbar lies under the cells.
    void SetLineOnTop(bool top);

    // What the last build made, for the grid's tests and for placing pop-ups.
    const Bar& GetBar() const { return bar_; }
    // The widget made for entry i of GetBar() (null for separators and gaps).
    QWidget* GetWidget(int i) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* layout_;
    Bar bar_;
    std::vector<QPointer<QWidget>> widgets_;  // parallel to bar_.Items()
    std::vector<QPointer<QWidget>> made_;  // what this toolbar created and deletes on rebuild
    bool lineOnTop_ = true;
};
