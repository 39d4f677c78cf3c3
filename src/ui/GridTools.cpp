// The grid's own toolbar: what it holds for the grid's settings, when it is rebuilt,
// and where it sits beside the cells.

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include "ui/GridPrivate.h"
#include "ui/GridImages.h"
#include "ui/GridText.h"
#include "ui/GridToolBar.h"
#include "ui/Translate.h"

namespace {
constexpr int kFindWidth = 150;
constexpr int kFindHeight = 19;
constexpr int kFindGap = 3;
constexpr int kCloseWidth = 76;
constexpr int kCloseHeight = 24;
}  // namespace

void GridCtrl::StdToolBar(Bar& bar)
{
    const GridSettings& s = settings_;
    const String item = GetItemName();
    if (s.appendButton)
        bar.Add(Translate("Append"), [this] { Run(AppendAction); }).Image(ImgGridAdd());
    if (s.editButton)
        bar.Add(Translate("Edit"), [this] { StartEdit(); }).Image(ImgGridMod());
    if (s.removeButton)
        bar.Add(Translate("Delete"), [this] { Run(RemoveAction); }).Image(ImgGridDel());
    if (s.findGroup) {
        bar.Separator();  // dropped by the bar when nothing stands before it
        bar.Add(Translate("Find"), [this] { DoFind(); }).Image(ImgGridFind());
        bar.Gap(kFindGap);
        bar.AddCtrl(GetFindField(), kFindWidth, kFindHeight);
        bar.Gap(kFindGap);
        bar.Add(Translate("Find options"), [this] { PopUpFindOptions(); }).Image(ImgGridFindOpts());
    }
    if (s.moveButtons) {
        if (s.findGroup)
            bar.Separator();
        bar.Add(Translate("Move up"), [this] { MoveRowUp(); }).Image(ImgGridMoveUp());
        bar.Add(Translate("Move down"), [this] { MoveRowDown(); }).Image(ImgGridMoveDn());
    }
    if (s.navigationButtons) {
        if (s.closeButton)
            bar.Separator();
        else
            bar.GapToEnd();
        bar.Add(FillText(Translate("First %s"), item), [this] { GoFirst(); }).Image(ImgGridFirstRec());
        bar.Add(FillText(Translate("Previous %s"), item), [this] { GoPrev(); }).Image(ImgGridPrevRec());
        bar.Add(FillText(Translate("Next %s"), item), [this] { GoNext(); }).Image(ImgGridNextRec());
        bar.Add(FillText(Translate("Last %s"), item), [this] { GoLast(); }).Image(ImgGridLastRec());
    }
    if (s.closeButton) {
        bar.GapToEnd();
        QPushButton& close = GetCloseButton();
        close.setText(QString::fromUtf8(Translate("Close")));
        bar.AddCtrl(close, kCloseWidth, kCloseHeight);
    }
}

void GridCtrl::FindOptionsMenu(Bar& bar)
{
    const GridSettings& s = settings_;
    bar.Add(Translate("Immediate search"), [this] { ToggleImmediateSearch(); }).Check(s.immediateSearch);
    bar.Add(Translate("Hide rows"), [this] { ToggleSearchHideRows(); }).Check(s.searchHideRows);
    bar.Add(Translate("Higlight found cells"), [this] { ToggleSearchHighlight(); }).Check(s.searchHighlight);
    bar.Add(Translate("Case sensitive"), [this] { ToggleSearchCaseSensitive(); }).Check(s.searchCaseSensitive);
}

// ---- Searching from the find group

QLineEdit& GridCtrl::GetFindField() { return d_->search.Field(); }

void GridCtrl::SetFindText(const String& text) { GetFindField().setText(QString::fromStdString(text)); }

String GridCtrl::GetFindText() const { return d_->search.Text(); }

void GridCtrl::DoFind() { d_->search.Run(GetFindText()); }

bool GridCtrl::GetFound(int row, int* column, int* start, int* end) const
{
    if (!model_.IsRow(row) || !model_.Item(row).IsFound())
        return false;
    const GridRowItem& item = model_.Item(row);
    if (column)
        *column = item.foundColumn == GridRowItem::kNoColumn ? -1 : item.foundColumn;
    if (start)
        *start = item.foundStart;
    if (end)
        *end = item.foundEnd;
    return true;
}

void GridCtrl::ToggleImmediateSearch() { settings_.immediateSearch = !settings_.immediateSearch; }

void GridCtrl::ToggleSearchHideRows()
{
    settings_.searchHideRows = !settings_.searchHideRows;
    if (settings_.searchHideRows) {
        DoFind();
        return;
    }
    for (int row = 0; row < GetCount(); ++row)
        model_.SetHidden(row, false);
    SyncLayout();
    viewport()->update();
}

void GridCtrl::ToggleSearchHighlight()
{
    settings_.searchHighlight = !settings_.searchHighlight;
    if (settings_.searchHighlight) {
        DoFind();  // the ranges to draw are worked out by the search
        return;
    }
    for (int row = 0; row < GetCount(); ++row)
        model_.ClearFound(row);
    viewport()->update();
}

void GridCtrl::ToggleSearchCaseSensitive()
{
    settings_.searchCaseSensitive = !settings_.searchCaseSensitive;
    DoFind();
}

void GridCtrl::PopUpFindOptions()
{
    // Under the button when it can be found, else at the pointer.
    QPoint at = QCursor::pos();
    if (d_->toolBar) {
        const auto& items = d_->toolBar->GetBar().Items();
        for (int i = 0; i < int(items.size()); ++i)
            if (items[size_t(i)].GetImage() == &ImgGridFindOpts())
                if (QWidget* button = d_->toolBar->GetWidget(i))
                    at = button->mapToGlobal(QPoint(0, button->height()));
    }
    PopUpMenu([this](Bar& bar) { FindOptionsMenu(bar); }, at);
}

QPushButton& GridCtrl::GetCloseButton()
{
    if (!d_->closeButton) {
        d_->closeButton = new QPushButton(this);
        d_->closeButton->hide();
        QObject::connect(d_->closeButton, &QPushButton::clicked, this, [this] { window()->close(); });
    }
    return *d_->closeButton;
}

uint32_t GridCtrl::ToolBarSignature() const
{
    const GridSettings& s = settings_;
    const bool bits[] = {s.toolBar,   s.toolBarOnTop, s.appendButton,      s.editButton, s.removeButton,
                         s.findGroup, s.moveButtons,  s.navigationButtons, s.closeButton};
    uint32_t signature = 1u << 31;  // never 0, which stands for "not built"
    for (size_t i = 0; i < std::size(bits); ++i)
        signature |= uint32_t(bits[i]) << i;
    return signature;
}

void GridCtrl::ScheduleToolBar()
{
    if (d_->toolBarPending || (!d_->toolBarForce && ToolBarSignature() == d_->toolBarBuilt))
        return;
    d_->toolBarPending = true;
    QCoreApplication::postEvent(this, new QEvent(QEvent::LayoutRequest));
}

bool GridCtrl::event(QEvent* event)
{
    // A grid that is not shown builds its toolbar when it is: the player keeps one
    // hidden track grid per playlist, and most of them are never looked at.
    if (event->type() == QEvent::Show)
        SyncToolBar();
    else if (event->type() == QEvent::LayoutRequest && d_->toolBarPending) {
        if (isVisible())
            SyncToolBar();
        else
            d_->toolBarPending = false;
    }
    return QAbstractScrollArea::event(event);
}

GridToolBar* GridCtrl::GetToolBar()
{
    if (d_->toolBarPending || d_->toolBarForce || (settings_.toolBar && ToolBarSignature() != d_->toolBarBuilt))
        SyncToolBar();
    return settings_.toolBar ? d_->toolBar : nullptr;
}

void GridCtrl::SyncToolBar()
{
    d_->toolBarPending = false;
    if (!settings_.toolBar) {
        if (d_->toolBar)
            d_->toolBar->hide();
        d_->toolBarBuilt = 0;
        d_->toolBarForce = false;
        PlaceToolBar();
        return;
    }
    const uint32_t signature = ToolBarSignature();
    if (d_->toolBar && signature == d_->toolBarBuilt && !d_->toolBarForce)
        return;
    d_->toolBarForce = false;
    d_->toolBarBuilt = signature;
    if (!d_->toolBar)
        d_->toolBar = new GridToolBar(this);
    d_->toolBar->SetLineOnTop(!settings_.toolBarOnTop);
    const std::function<void(Bar&)> builder = WhenToolBar;  // a button may replace the callback later
    d_->toolBar->Build(builder);
    d_->toolBar->show();
    PlaceToolBar();
}

void GridCtrl::PlaceToolBar()
{
    const bool shown = settings_.toolBar && d_->toolBar && d_->toolBarBuilt != 0;
    const int height = shown ? d_->toolBar->sizeHint().height() : 0;
    const bool top = settings_.toolBarOnTop;
    const QMargins margins(0, top ? height : 0, 0, top ? 0 : height);
    if (viewportMargins() != margins)
        setViewportMargins(margins);
    if (!shown)
        return;
    const QRect area = contentsRect();
    d_->toolBar->setGeometry(area.left(), top ? area.top() : area.bottom() + 1 - height, area.width(), height);
}
