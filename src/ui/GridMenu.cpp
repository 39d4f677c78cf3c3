// The menu items the grid lends to its owner's menus, and its own standard menu.

#include "ui/GridCtrl.h"
#include "ui/GridText.h"
#include "ui/Translate.h"

void GridCtrl::RemoveMenuItem(Bar& bar)
{
    const bool can = CanRemove();
    BarItem& item = bar.Add(can, Translate("Delete"), [this] { Run(RemoveAction); })
                        .Key(K_DELETE)
                        .Help(FillText(Translate("Delete active %s."), GetItemName()));
    // Off only because the last row stays: say so, or the entry looks broken.
    if (!can && IsCursor() && settings_.keepLastRow)
        item.Tip(FillText(Translate("At least one %s must stay."), GetItemName()));
}

void GridCtrl::MoveMenuItems(Bar& bar)
{
    const int cursor = GetCursor();
    bar.Add(cursor > 0, Translate("Move up"), [this] { MoveRowUp(); }).Key(K_CTRL | K_UP);
    bar.Add(cursor >= 0 && cursor < GetCount() - 1, Translate("Move down"), [this] { MoveRowDown(); })
        .Key(K_CTRL | K_DOWN);
}

void GridCtrl::SelectAllMenuItem(Bar& bar)
{
    bar.Add(GetCount() > 0, Translate("Select all"), [this] { SelectAll(); })
        .Key(K_CTRL | K_KEY('A'))
        .Help(Translate("Select all table rows"));
}

void GridCtrl::ColumnsMenuItem(Bar& bar)
{
    bar.Sub(Translate("Columns"), [this](Bar& sub) {
        int visible = 0;
        for (const GridColumn& column : columns_)
            visible += column.hidden_ ? 0 : 1;
        for (int i = 0; i < GetColumnCount(); ++i) {
            const GridColumn& column = columns_[i];
            if (column.index_)
                continue;
            const bool shown = !column.hidden_;
            // The last visible column stays: a grid without columns could not be brought back.
            sub.Add(!(shown && visible == 1), column.caption_, [this, i, shown] { HideColumn(i, shown); })
                .Check(shown);
        }
    });
}

void GridCtrl::StdMenuBar(Bar& bar)
{
    bar.Add(IsCursor(), Translate("Insert"), [this] { Run(InsertAction); }).Key(K_INSERT);
    bar.Add(Translate("Append"), [this] { Run(AppendAction); }).Key(K_CTRL | K_INSERT);
    bar.Add(IsCursor(), Translate("Edit"), [this] { StartEdit(); });
    bar.Separator();
    RemoveMenuItem(bar);
    bar.Separator();
    MoveMenuItems(bar);
    bar.Separator();
    SelectAllMenuItem(bar);
}
