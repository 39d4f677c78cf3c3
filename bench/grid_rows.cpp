// Grid with many track rows: filling, painting, scrolling, cursor moves, removal, memory.
// Paint and cursor costs are printed for 100 and 100,000 rows side by side.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>

#include "library/LibraryGrids.h"
#include "ui/GridCtrl.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

std::vector<Value> TrackRow(int i)
{
    const std::string n = std::to_string(i);
    return {Value(int64_t(i + 1)), Value("/home/user/Music/Some Artist/Some Album/" + n + " - Track title.mp3"),
            Value("Track title number " + n), Value("Some Artist"), Value("Some Album"), Value(180000 + i)};
}

size_t HeapInUse() { return mallinfo2().uordblks; }

// Bytes the cells hold themselves: the values plus the text they keep on the heap.
size_t CellBytes(const std::vector<Value>& row)
{
    size_t bytes = row.size() * sizeof(Value);
    for (const Value& v : row)
        if (v.Kind() == ValueKind::String && v.GetString().capacity() > 15)
            bytes += v.GetString().capacity() + 1;
    return bytes;
}

void MakeColumns(GridCtrl& grid)
{
    ConfigureTrackGrid(grid);
    grid.resize(800, 600);
}

struct Costs {
    double paintMs = 0;
    double cursorMs = 0;
};

void PressKey(GridCtrl& grid, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&grid, &press);
}

Costs Measure(int rows)
{
    GridCtrl grid;
    MakeColumns(grid);
    for (int i = 0; i < rows; ++i)
        grid.Add(TrackRow(i));
    grid.show();
    QApplication::processEvents();
    grid.SetCursor(rows / 2);

    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    grid.viewport()->render(&image);  // settle the layout once
    const int paints = 300;
    Clock::time_point start = Clock::now();
    for (int i = 0; i < paints; ++i)
        grid.viewport()->render(&image);
    Costs costs;
    costs.paintMs = Ms(start) / paints;

    const int moves = 2000;
    start = Clock::now();
    for (int i = 0; i < moves; ++i)
        PressKey(grid, i % 2 ? Qt::Key_Home : Qt::Key_End);
    costs.cursorMs = Ms(start) / moves;
    return costs;
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int n = 100000;
    // Freed memory stays with the process, so both fills below start from a warm heap
    // rather than one of them paying the kernel's first-touch faults.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);

    // Filling, against building the same rows in a plain vector (the second of two
    // builds, so that neither side pays for the allocator's first growth).
    std::vector<std::vector<Value>> plain;
    double plainMs = 0;
    for (int pass = 0; pass < 2; ++pass) {
        plain.clear();
        plain.shrink_to_fit();
        const Clock::time_point begin = Clock::now();
        plain.reserve(n);
        for (int i = 0; i < n; ++i)
            plain.push_back(TrackRow(i));
        plainMs = Ms(begin);
    }
    Clock::time_point start;
    size_t cellBytes = 0;
    for (const auto& row : plain)
        cellBytes += CellBytes(row);
    plain.clear();
    plain.shrink_to_fit();

    const size_t heapBefore = HeapInUse();
    {
        GridCtrl grid;
        MakeColumns(grid);
        start = Clock::now();
        for (int i = 0; i < n; ++i)
            grid.Add(TrackRow(i));
        const double fillMs = Ms(start);
        const size_t gridBytes = HeapInUse() - heapBefore;
        std::printf("fill %d rows: grid %.1f ms, plain vector %.1f ms, ratio %.2f (target <= 2)\n", n, fillMs,
                    plainMs, fillMs / plainMs);
        const double perRow = double(gridBytes) / n, cellsPerRow = double(cellBytes) / n;
        std::printf("memory per row: %.1f bytes, cells' own %.1f bytes, limit %.1f (1.5x + 64), ratio %.2f\n",
                    perRow, cellsPerRow, cellsPerRow * 1.5 + 64, perRow / (cellsPerRow * 1.5 + 64));

        grid.show();
        QApplication::processEvents();
        QImage image(grid.viewport()->size(), QImage::Format_RGB32);
        start = Clock::now();
        grid.ScrollToRow(n - 1);
        grid.viewport()->render(&image);
        std::printf("scroll to the end and paint: %.3f ms (first row shown %d)\n", Ms(start),
                    grid.GetFirstVisibleRow());

        // Every hundredth row selected: 1,000 rows, each with its removal callback.
        for (int i = 0; i < n; i += 100)
            grid.Select(i);
        int callbacks = 0;
        grid.WhenRemoveRow = [&] { ++callbacks; };
        grid.SetCursor(1);
        start = Clock::now();
        grid.DoRemove();
        std::printf("remove %d selected rows of %d: %.1f ms (%d left)\n", callbacks, n, Ms(start), grid.GetCount());
    }
    {
        // Select all and Delete: every row goes, each with the owner's callback reading
        // its id and the removal marks, as the track grid's owner does.
        GridCtrl grid;
        MakeColumns(grid);
        for (int i = 0; i < n; ++i)
            grid.Add(TrackRow(i));
        grid.SetCursor(0);
        grid.SelectAll();
        long long ids = 0;
        int callbacks = 0;
        int marks = 0;
        grid.WhenRemoveRow = [&] {
            ++callbacks;
            ids += grid.Get(TRACK_ID).ToInt64();
            marks += grid.IsRemovingFirst() + grid.IsRemovingLast();
        };
        start = Clock::now();
        grid.DoRemove();
        const double ms = Ms(start);
        std::printf("remove all %d selected rows: %.1f ms with %d callbacks, %d marks, %d left (target < 1000 ms)\n",
                    n, ms, callbacks, marks, grid.GetCount());
    }

    const Costs small = Measure(100);
    const Costs large = Measure(n);
    std::printf("paint visible area: %.4f ms at 100 rows, %.4f ms at %d rows, ratio %.2f (target <= 1.5)\n",
                small.paintMs, large.paintMs, n, large.paintMs / small.paintMs);
    std::printf("cursor Home/End:    %.4f ms at 100 rows, %.4f ms at %d rows, ratio %.2f (target <= 1.5)\n",
                small.cursorMs, large.cursorMs, n, large.cursorMs / small.cursorMs);
    return 0;
}
