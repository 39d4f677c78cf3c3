#include "desktop/MediaTypes.h"

QStringList SupportedMimeTypes()
{
    // The music extensions of the file selector and the folder scan, then the
    // playlist files; aliases are listed too because file managers differ in
    // the name they give a file.
    return {
        QStringLiteral("audio/mpeg"),             // .mp3
        QStringLiteral("audio/x-mp3"),
        QStringLiteral("audio/mp2"),              // .mp2
        QStringLiteral("audio/x-mp2"),
        QStringLiteral("audio/ogg"),              // .ogg, .oga
        QStringLiteral("audio/x-vorbis+ogg"),
        QStringLiteral("audio/x-opus+ogg"),       // .opus
        QStringLiteral("audio/x-speex"),          // .spx
        QStringLiteral("audio/x-speex+ogg"),
        QStringLiteral("audio/flac"),             // .flac
        QStringLiteral("audio/x-flac"),
        QStringLiteral("audio/mp4"),              // .m4a
        QStringLiteral("audio/x-m4a"),
        QStringLiteral("audio/x-m4b"),            // .m4b
        QStringLiteral("audio/aac"),              // .aac
        QStringLiteral("audio/x-aac"),
        QStringLiteral("audio/x-wav"),            // .wav
        QStringLiteral("audio/wav"),
        QStringLiteral("audio/x-aiff"),           // .aif, .aiff
        QStringLiteral("audio/x-aifc"),           // .aifc
        QStringLiteral("audio/x-ms-wma"),         // .wma
        QStringLiteral("video/x-ms-asf"),         // .asf
        QStringLiteral("application/vnd.ms-asf"),
        QStringLiteral("audio/midi"),             // .mid, .midi
        QStringLiteral("audio/x-midi"),
        QStringLiteral("audio/x-wavpack"),        // .wv
        QStringLiteral("audio/x-ape"),            // .ape
        QStringLiteral("audio/x-musepack"),       // .mpc
        QStringLiteral("audio/x-tta"),            // .tta
        QStringLiteral("audio/x-mpegurl"),        // .m3u, .m3u8
        QStringLiteral("audio/mpegurl"),
        QStringLiteral("application/vnd.apple.mpegurl"),
        QStringLiteral("audio/x-scpls"),          // .pls
        QStringLiteral("application/xspf+xml"),   // .xspf
    };
}
