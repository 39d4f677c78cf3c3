#pragma once

// Real music files for the library tests and benchmarks: copies of the tagged
// one-second tone fixture, re-tagged as each test needs.

#include <filesystem>
#include <stdexcept>
#include <string>

#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace music_fixtures {

inline std::filesystem::path ToneMp3() { return std::filesystem::path(QP_FIXTURES) / "tone.mp3"; }

// Copies the tone to `path` (folders created) with exactly these tags; an empty
// text removes that tag. Returns the path.
inline std::string MakeMp3(const std::filesystem::path& path, const std::string& title = {},
                           const std::string& artist = {}, const std::string& album = {})
{
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::copy_file(ToneMp3(), path, std::filesystem::copy_options::overwrite_existing);
    TagLib::FileRef ref(path.c_str());
    if (ref.isNull() || !ref.tag())
        throw std::runtime_error("cannot tag " + path.string());
    ref.tag()->setTitle(TagLib::String(title, TagLib::String::UTF8));
    ref.tag()->setArtist(TagLib::String(artist, TagLib::String::UTF8));
    ref.tag()->setAlbum(TagLib::String(album, TagLib::String::UTF8));
    if (!ref.save())
        throw std::runtime_error("cannot save tags of " + path.string());
    return path.string();
}

} // namespace music_fixtures
