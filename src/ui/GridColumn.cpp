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
