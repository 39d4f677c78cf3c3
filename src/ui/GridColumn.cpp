#include "ui/GridColumn.h"

#include <QLineEdit>

GridColumn& GridColumn::Edit(QLineEdit& editor)
{
    QLineEdit* line = &editor;
    return Edit(
        editor, [line](const Value& value) { line->setText(QString::fromStdString(value.ToString())); },
        [line]() { return Value(line->text().toStdString()); });
}

GridColumn& GridColumn::Edit(QWidget& editor, std::function<void(const Value&)> load, std::function<Value()> store)
{
    editor_.widget = &editor;
    editor_.load = std::move(load);
    editor_.store = std::move(store);
    return *this;
}

String GridColumn::Format(const Value& value) const
{
    return convert_ ? convert_(value).ToString() : value.ToString();
}

Qt::Alignment GridHorzFlags(int code)
{
    switch (code) {
    case ALIGN_RIGHT: return Qt::AlignRight;
    case ALIGN_CENTER: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

Qt::Alignment GridVertFlags(int code)
{
    switch (code) {
    case ALIGN_LEFT: return Qt::AlignTop;  // "left" of the vertical code reads as the top edge
    case ALIGN_BOTTOM: return Qt::AlignBottom;
    default: return Qt::AlignVCenter;
    }
}
