#include "desktop/MediaTypes.h"

QStringList SupportedMimeTypes()
{
    // The file selector's and the folder scan's extensions; aliases are listed
    // too because file managers differ in the name they give a file.
    return {
        QStringLiteral("audio/mpeg"),           // .mp3
        QStringLiteral("audio/x-mp3"),
        QStringLiteral("audio/mp2"),            // .mp2
        QStringLiteral("audio/x-mp2"),
        QStringLiteral("audio/ogg"),            // .ogg
        QStringLiteral("audio/x-vorbis+ogg"),
        QStringLiteral("audio/x-ms-wma"),       // .wma
        QStringLiteral("audio/x-wav"),          // .wav
        QStringLiteral("audio/wav"),
        QStringLiteral("video/x-ms-asf"),       // .asf
        QStringLiteral("application/vnd.ms-asf"),
        QStringLiteral("audio/midi"),           // .mid
        QStringLiteral("audio/x-midi"),
    };
}
