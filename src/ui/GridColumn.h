#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

#include "core/Value.h"

class QLineEdit;

// Alignment codes of a column: 0 the grid's default (left, vertically centred),
// 1 left (top for the vertical code), 2 right, 8 bottom, 16 centre.
enum GridAlign { ALIGN_DEFAULT = 0, ALIGN_LEFT = 1, ALIGN_RIGHT = 2, ALIGN_BOTTOM = 8, ALIGN_CENTER = 16 };

// The text alignment flags of the codes above.
Qt::Alignment GridHorzFlags(int code);
Qt::Alignment GridVertFlags(int code);

// Turns a cell's value into the value shown (and searched); the result is shown as text.
using GridConvert = std::function<Value(const Value&)>;

// An in-place editor of a column: the widget and how to move a value in and out of it.
struct GridEditor {
    QPointer<QWidget> widget;  // the owner may destroy its editor before the grid
    std::function<void(const Value&)> load;
    std::function<Value()> store;
    explicit operator bool() const { return !widget.isNull(); }
};

// One data column. The modifiers chain: grid.AddColumn("Length", 2).SetConvert(f).Align(16, 16).
class GridColumn {
public:
    GridColumn(String caption, int width, bool index)
        : name_(caption), caption_(std::move(caption)), width_(width), hidden_(width == 0), index_(index) {}

    // A single-line text editor; the cell's value is shown as text and read back as text.
    GridColumn& Edit(QLineEdit& editor);
    // Any editor widget with its own way of loading and storing the value.
    GridColumn& Edit(QWidget& editor, std::function<void(const Value&)> load, std::function<Value()> store);
    GridColumn& SetConvert(GridConvert convert) { convert_ = std::move(convert); return *this; }
    GridColumn& HorzAlign(int code) { horzAlign_ = code; return *this; }
    GridColumn& VertAlign(int code) { vertAlign_ = code; return *this; }
    GridColumn& Align(int horizontal, int vertical) { return HorzAlign(horizontal).VertAlign(vertical); }

    // The caption shown from now on (a translation, say). The caption the column was
    // added with stays its name, by which a stored layout knows its columns.
    GridColumn& Caption(String caption) { caption_ = std::move(caption); return *this; }
    const String& GetCaption() const { return caption_; }
    const String& GetName() const { return name_; }
    int GetWidth() const { return width_; }
    // The share of the grid's width while shown; a column shown after being added hidden weighs 1.
    int GetWeight() const { return width_ > 0 ? width_ : 1; }
    bool IsHidden() const { return hidden_; }
    bool IsIndex() const { return index_; }
    const GridEditor& GetEditor() const { return editor_; }
    bool IsEditable() const { return bool(editor_); }
    const GridConvert& GetConvert() const { return convert_; }
    int GetHorzAlign() const { return horzAlign_; }
    int GetVertAlign() const { return vertAlign_; }
    int GetSortState() const { return sort_; }

    // The text shown for a value: through the converter when there is one.
    String Format(const Value& value) const;

private:
    friend class GridCtrl;
    friend class GridHeader;  // sort state and the laid-out edges
    String name_;
    String caption_;
    int width_;
    bool hidden_;
    bool index_;
    GridEditor editor_;
    GridConvert convert_;
    int horzAlign_ = ALIGN_DEFAULT;
    int vertAlign_ = ALIGN_DEFAULT;
    int sort_ = 0;  // 0 none, 1 ascending, 2 descending

    // Laid out by the grid: left edge and width in pixels, 0 wide while hidden.
    int x_ = 0;
    int pixelWidth_ = 0;
};
