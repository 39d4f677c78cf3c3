// New rows, editing and removal as the grid offers them; the edit session does the work.

#include "ui/GridPrivate.h"

bool GridCtrl::IsNewRow() const { return d_->edit.IsInserted() || d_->edit.IsAppended(); }

bool GridCtrl::IsInsertedRow() const { return d_->edit.IsInserted(); }

bool GridCtrl::IsAppendedRow() const { return d_->edit.IsAppended(); }

bool GridCtrl::IsRemovingFirst() const { return d_->edit.IsRemovingFirst(); }

bool GridCtrl::IsRemovingLast() const { return d_->edit.IsRemovingLast(); }

bool GridCtrl::IsEditing() const { return d_->edit.IsEditing(); }

bool GridCtrl::StartEdit()
{
    if (IsEditing())
        AcceptEdit();
    return IsCursor() && d_->edit.Begin(d_->cursorRow);
}

bool GridCtrl::AcceptEdit() { return d_->edit.Accept(); }

void GridCtrl::KeepRemovedRow() { d_->edit.KeepRemovedRow(); }

void GridCtrl::RevertEdit() { d_->edit.RevertEdit(); }

void GridCtrl::CancelEdit() { d_->edit.Cancel(); }

void GridCtrl::DoInsert() { d_->edit.AddNewRow(true, true); }

void GridCtrl::DoAppend() { d_->edit.AddNewRow(false, true); }

void GridCtrl::DoAppendNoEdit() { d_->edit.AddNewRow(false, false); }

void GridCtrl::DoRemove() { d_->edit.Remove(); }

bool GridCtrl::CanRemove() const
{
    if (!IsCursor())
        return false;
    if (!settings_.keepLastRow)
        return true;
    // Keeping the last row also refuses a selection that covers every row.
    return GetCount() > 1 && GetSelectedCount() < GetCount();
}
