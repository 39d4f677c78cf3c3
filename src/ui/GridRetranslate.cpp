// The grid after a change of language. Menus, the find options and the drag pop-up
// look their texts up each time they are shown; only the toolbar keeps texts.

#include <QEvent>

#include "ui/GridCtrl.h"
#include "ui/GridPrivate.h"

void GridCtrl::Retranslate()
{
    // The find field is only borrowed by the toolbar: its text and the search stay.
    d_->toolBarForce = true;
    if (isVisible())
        SyncToolBar();  // a hidden grid rebuilds it when shown
    update();
}

void GridCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QAbstractScrollArea::changeEvent(event);
}
