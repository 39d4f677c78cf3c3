#pragma once

#include <vector>

class GridCtrl;
class QObject;

// A grid's edit session and the row changes that run the owner's callbacks: the
// in-place editors of the edited row, the new-row marks of an inserted or appended
// row, and the removal of rows with its first and last marks. While a callback runs,
// the row it concerns is the grid's current row.
class GridEditSession {
public:
    explicit GridEditSession(GridCtrl& grid) : grid_(grid) {}
    GridEditSession(const GridEditSession&) = delete;
    GridEditSession& operator=(const GridEditSession&) = delete;

    bool IsEditing() const { return editRow_ >= 0; }
    int EditRow() const { return editRow_; }
    bool IsInserted() const { return inserted_; }
    bool IsAppended() const { return appended_; }
    bool IsRemovingFirst() const { return removingFirst_; }
    bool IsRemovingLast() const { return removingLast_; }
    // The owner's refusals, from inside its callbacks (see GridCtrl).
    void KeepRemovedRow() { keepRemovedRow_ = true; }
    void RevertEdit() { revertEdit_ = true; }
    // Whether the widget is one of the grid's editors.
    bool IsEditor(const QObject* object) const;

    // The row whose callback runs, else the edited row; -1 when neither. CellRow is where
    // its cells are; CurrentRow is where the owner finds it (by display index or stable
    // id) with the rows removed before it in the same removal already gone.
    int CellRow() const;
    int CurrentRow(bool byId) const;

    // Places the editors over the row and loads them; false when no column is editable.
    bool Begin(int row);
    // Writes the editors back and runs WhenInsertRow or WhenUpdateRow; false when not editing.
    bool Accept();
    void Cancel();
    // Ends the edit without a word to the owner: the row is going away.
    void Drop();
    void PlaceEditors();
    bool FocusNextEditor(bool forward);

    // A new row inserted above the cursor or appended, marked, optionally edited.
    void AddNewRow(bool insert, bool edit);
    // The Delete command: the selection, else the cursor row.
    void Remove();
    // Removes display rows (ascending), running WhenRemoveRow for each from the top.
    void RemoveRows(const std::vector<int>& rows, bool marks);

private:
    // The shown columns that have an editor, left to right.
    std::vector<int> EditableColumns() const;
    struct CallbackRow {
        int cell = -1;
        int shown = -1;
        int id = -1;
    };
    // Makes a row the current one for the length of an owner callback.
    class CallbackScope {
    public:
        CallbackScope(CallbackRow& current, const CallbackRow& row) : current_(current), saved_(current)
        {
            current_ = row;
        }
        ~CallbackScope() { current_ = saved_; }
        CallbackScope(const CallbackScope&) = delete;
        CallbackScope& operator=(const CallbackScope&) = delete;

    private:
        CallbackRow& current_;
        CallbackRow saved_;
    };

    void HideEditors();
    void PlaceCursorAfterRemoval(int oldCursor, int topmost, bool cursorRemoved, int removedAbove, bool marks);

    GridCtrl& grid_;
    int editRow_ = -1;
    int editColumn_ = -1;  // the editor holding the keyboard focus
    bool inserted_ = false;
    bool appended_ = false;
    bool removingFirst_ = false;
    bool removingLast_ = false;
    bool removing_ = false;
    bool keepRemovedRow_ = false;
    bool revertEdit_ = false;
    CallbackRow callback_;
};
