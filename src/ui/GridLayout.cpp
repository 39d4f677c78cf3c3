// The column layout (widths and hidden flags) as bytes, for the owner's configuration.
// A layout is checked whole before any of it is applied, so a damaged one, or one
// made by a grid with other columns, leaves the grid as it was.

#include "core/Stream.h"
#include "ui/GridPrivate.h"

namespace {

constexpr uint32_t kLayoutMagic = 0x4C434751;  // "QGCL" read little-endian
constexpr uint8_t kLayoutVersion = 1;
constexpr int32_t kMaxWidth = 1 << 24;  // far above any width a grid can lay out

struct ColumnLayout {
    String caption;
    int32_t width = 0;
    bool hidden = false;
};

}  // namespace

String GridCtrl::StoreLayout() const
{
    Stream s = Stream::ForStoring();
    s.Magic(kLayoutMagic);
    uint8_t version = kLayoutVersion;
    int32_t count = GetColumnCount();
    s % version % count;
    for (const GridColumn& column : columns_) {
        ColumnLayout entry{column.name_, column.width_, column.hidden_};
        s % entry.caption % entry.width % entry.hidden;
    }
    return s.Data();
}

bool GridCtrl::LoadLayout(const String& data)
{
    Stream s = Stream::ForLoading(data);
    s.Magic(kLayoutMagic);
    uint8_t version = 0;
    int32_t count = -1;
    s % version % count;
    if (s.IsError() || version != kLayoutVersion || count != GetColumnCount())
        return false;
    std::vector<ColumnLayout> entries(static_cast<size_t>(count));
    bool anyShown = false;
    for (int i = 0; i < count; ++i) {
        ColumnLayout& entry = entries[size_t(i)];
        s % entry.caption % entry.width % entry.hidden;
        // The names tell this grid's layout from another grid's with as many columns,
        // in whatever language each caption is shown.
        if (s.IsError() || entry.caption != columns_[i].name_ || entry.width < 0 || entry.width > kMaxWidth)
            return false;
        anyShown = anyShown || !entry.hidden;
    }
    if (!s.AtEnd() || !anyShown)
        return false;
    for (int i = 0; i < count; ++i) {
        columns_[i].width_ = entries[size_t(i)].width;
        columns_[i].hidden_ = entries[size_t(i)].hidden;
    }
    Changed();
    SyncLayout();
    d_->edit.PlaceEditors();
    return true;
}

bool GridCtrl::SerializeLayout(Stream& stream)
{
    if (stream.IsStoring()) {
        String data = StoreLayout();
        stream % data;
        return !stream.IsError();
    }
    String data;
    stream % data;
    return !stream.IsError() && LoadLayout(data);
}
