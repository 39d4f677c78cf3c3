// The grid's own toolbar: what it holds for the grid's settings, when it is rebuilt,
// and where it sits beside the cells.

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include "ui/GridCtrl.h"
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

void GridCtrl::PopUpFindOptions()
{
    // Under the button when it can be found, else at the pointer.
    QPoint at = QCursor::pos();
    if (toolBar_) {
        const auto& items = toolBar_->GetBar().Items();
        for (int i = 0; i < int(items.size()); ++i)
            if (items[size_t(i)].GetImage() == &ImgGridFindOpts())
                if (QWidget* button = toolBar_->GetWidget(i))
                    at = button->mapToGlobal(QPoint(0, button->height()));
    }
    PopUpMenu([this](Bar& bar) { FindOptionsMenu(bar); }, at);
}

QLineEdit& GridCtrl::GetFindField()
{
    if (!findField_) {
        findField_ = new QLineEdit(this);
        findField_->hide();
        QObject::connect(findField_, &QLineEdit::textChanged, this, [this] {
            if (settings_.immediateSearch)
                DoFind();
        });
        // Enter in the field searches (see eventFilter) and goes no further: the grid's
        // own Enter would play or edit the cursor row.
        findField_->installEventFilter(this);
    }
    return *findField_;
}

QPushButton& GridCtrl::GetCloseButton()
{
    if (!closeButton_) {
        closeButton_ = new QPushButton(this);
        closeButton_->hide();
        QObject::connect(closeButton_, &QPushButton::clicked, this, [this] { window()->close(); });
    }
    return *closeButton_;
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
    if (toolBarPending_ || (!toolBarForce_ && ToolBarSignature() == toolBarBuilt_))
        return;
    toolBarPending_ = true;
    QCoreApplication::postEvent(this, new QEvent(QEvent::LayoutRequest));
}

bool GridCtrl::event(QEvent* event)
{
    // A grid that is not shown builds its toolbar when it is: the player keeps one
    // hidden track grid per playlist, and most of them are never looked at.
    if (event->type() == QEvent::Show)
        SyncToolBar();
    else if (event->type() == QEvent::LayoutRequest && toolBarPending_) {
        if (isVisible())
            SyncToolBar();
        else
            toolBarPending_ = false;
    }
    return QAbstractScrollArea::event(event);
}

GridToolBar* GridCtrl::GetToolBar()
{
    if (toolBarPending_ || toolBarForce_ || (settings_.toolBar && ToolBarSignature() != toolBarBuilt_))
        SyncToolBar();
    return settings_.toolBar ? toolBar_ : nullptr;
}

void GridCtrl::SyncToolBar()
{
    toolBarPending_ = false;
    if (!settings_.toolBar) {
        if (toolBar_)
            toolBar_->hide();
        toolBarBuilt_ = 0;
        toolBarForce_ = false;
        PlaceToolBar();
        return;
    }
    const uint32_t signature = ToolBarSignature();
    if (toolBar_ && signature == toolBarBuilt_ && !toolBarForce_)
        return;
    toolBarForce_ = false;
    toolBarBuilt_ = signature;
    if (!toolBar_)
        toolBar_ = new GridToolBar(this);
    toolBar_->SetLineOnTop(!settings_.toolBarOnTop);
    const std::function<void(Bar&)> builder = WhenToolBar;  // a button may replace the callback later
    toolBar_->Build(builder);
    toolBar_->show();
    PlaceToolBar();
}

void GridCtrl::PlaceToolBar()
{
    const bool shown = settings_.toolBar && toolBar_ && toolBarBuilt_ != 0;
    const int height = shown ? toolBar_->sizeHint().height() : 0;
    const bool top = settings_.toolBarOnTop;
    const QMargins margins(0, top ? height : 0, 0, top ? 0 : height);
    if (viewportMargins() != margins)
        setViewportMargins(margins);
    if (!shown)
        return;
    const QRect area = contentsRect();
    toolBar_->setGeometry(area.left(), top ? area.top() : area.bottom() + 1 - height, area.width(), height);
}
