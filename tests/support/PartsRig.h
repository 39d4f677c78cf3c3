#pragma once

// Playback and the library as the window composes them, without the window's
// layout, menus or configuration: the controls playback drives sit in a plain
// widget, which also owns the time callbacks and the track grids. The library
// is loaded from the bound database, as the window does on construction.

#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

#include "library/Library.h"
#include "playback/AudioEngine.h"
#include "playback/PlaybackControl.h"
#include "playback/ProgressButton.h"
#include "playback/StreamInfo.h"
#include "ui/ButtonFace.h"
#include "ui/Images.h"

class PartsRig : public QWidget {
public:
    PartsRig()
    {
        EXPECT_GE(engine.Init(), 0);
        SetFace(play, ImgPlayForward());
        library.WhenShowTrackList = [this](GridCtrl& tracks) { shown = &tracks; };
        library.LoadLibrary();
        library.ListGrid.GoFirst();
        position.WhenAction = [this] { playback.Seek(); };
        volume.WhenAction = [this] { playback.VolumeChanged(); };
        position.setParent(this);
        position.setGeometry(0, 0, 400, 20);
    }

    QPushButton play;
    ProgressButton position;
    ProgressButton volume;
    StreamInfo info;
    AudioEngine engine;
    PlaybackControl playback{engine, *this, PlaybackDisplays{play, position, volume, info},
                             [this] { return library.SelectedTrackList(); }};
    Library library{*this, playback};
    // The track grid the library last asked to show.
    GridCtrl* shown = nullptr;
};
