#pragma once

#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "playback/TrackColumns.h"
#include "playback/PlaybackState.h"
#include "support/LibraryFixture.h"
#include "support/PartsRig.h"

// Playback over the library's track grids, with the engine on the dummy audio
// driver and message boxes answered by the test.
class PlaybackTest : public LibraryFixture {
protected:
    static constexpr const char* kTone = QP_FIXTURES "/tone.mp3";
    static constexpr const char* kToneOgg = QP_FIXTURES "/tone.ogg";
    static constexpr const char* kToneWav = QP_FIXTURES "/tone.wav";

    void SetUp() override
    {
        LibraryFixture::SetUp();
        blinkPhase = 0;
        parts = std::make_unique<PartsRig>();
    }
    void TearDown() override
    {
        parts.reset();
        LibraryFixture::TearDown();
    }

    PlaybackControl& Playback() { return parts->playback; }
    AudioEngine& Engine() { return parts->engine; }
    GridCtrl& CurrentTrackList() { return parts->library.CurrentTrackList(); }

    // The first playlist's grid, filled with one row per file; ids count from firstId.
    GridCtrl& Fill(GridCtrl& list, const std::vector<std::string>& files, int firstId = 100)
    {
        for (size_t i = 0; i < files.size(); ++i) {
            const int id = firstId + static_cast<int>(i);
            list.Add({Value(id), Value(files[i]), Value("Track " + std::to_string(id)), Value(), Value(), Value()});
        }
        if (!files.empty())
            list.SetCursor(0);
        return list;
    }

    // A second playlist with its own track grid, not selected.
    GridCtrl& AddPlaylist(const std::string& name)
    {
        parts->library.ListGrid.Add({Value(), Value(name)});
        return parts->library.NewTrackList();
    }

    void SelectPlaylist(int row) { ASSERT_TRUE(parts->library.ListGrid.SetCursor(row)); }

    // Runs the event loop until the condition holds; false after the timeout.
    static bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
    {
        return QTest::qWaitFor(condition, timeoutMs);
    }

    // Lets the current track run to its end soon.
    void NearEnd() { Engine().SetPositionPercent(90.0f); }

    bool Shows(const QImage& face) const
    {
        const QImage shown = parts->play.icon().pixmap(face.size()).toImage();
        return shown.convertToFormat(QImage::Format_ARGB32) == face.convertToFormat(QImage::Format_ARGB32);
    }

    static bool IsHighlighted(const GridCtrl& list, int row)
    {
        const GridRowStyle* style = list.GetRowStyle(row);
        return style && style->background == QColor(255, 255, 0);
    }

    static int HighlightedRows(const GridCtrl& list)
    {
        int count = 0;
        for (int row = 0; row < list.GetCount(); ++row)
            count += IsHighlighted(list, row);
        return count;
    }

    std::unique_ptr<PartsRig> parts;
};
