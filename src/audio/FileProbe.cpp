#include "audio/FileProbe.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <taglib/fileref.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>
#include <taglib/tag.h>
#include <taglib/aifffile.h>
#include <taglib/asffile.h>
#include <taglib/flacfile.h>
#include <taglib/oggfile.h>
#include <taglib/trueaudiofile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/tpropertymap.h>

#include "audio/AdtsLength.h"
#include "audio/MidiFile.h"
#include "audio/Mp3Gapless.h"
#include "audio/MpegFrame.h"
#include "audio/ProbeBytes.h"
#include "audio/TagReader.h"

namespace audio {

namespace {

// MIDI files are read whole; anything larger is not a MIDI file worth playing.
constexpr off_t kMaxMidiBytes = 16 << 20;
// A file whose first audio frame does not come within this many packets is taken as damaged.
constexpr int kMaxPacketsToFirstFrame = 64;

ProbedFile Problem(ProbeProblem problem, std::string reason)
{
    ProbedFile probed;
    probed.problem = problem;
    probed.reason = std::move(reason);
    return probed;
}

ProbedFile CannotRead(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return Problem(ProbeProblem::Unreadable, "cannot read: permission denied");
    case ENOENT:
    case ENOTDIR:
        return Problem(ProbeProblem::Unreadable, "cannot read: the file is gone");
    case ENAMETOOLONG:
        return Problem(ProbeProblem::Unreadable, "cannot read: the path is too long");
    case ELOOP:
        return Problem(ProbeProblem::Unreadable, "cannot read: too many symbolic links");
    case EIO:
        return Problem(ProbeProblem::Unreadable, "cannot read: the disk reported an error");
    default:
        return Problem(ProbeProblem::Unreadable, std::string("cannot read: ") + std::strerror(error));
    }
}

struct FormatCloser {
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
struct CodecFreer {
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFreer {
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};

// The decoder library finds a container or a decoder by walking every one it
// knows; the containers named here are looked up once, and each thread keeps
// the decoders it found.
const AVInputFormat* ContainerNamed(const char* name)
{
    static const std::map<std::string, const AVInputFormat*> known = [] {
        std::map<std::string, const AVInputFormat*> formats;
        for (const char* each : {"mp3", "ogg", "flac", "wav", "aiff", "mp4", "asf", "wv", "tta"})
            formats[each] = av_find_input_format(each);
        return formats;
    }();
    const auto found = known.find(name);
    return found != known.end() ? found->second : av_find_input_format(name);
}

const AVCodec* DecoderFor(AVCodecID id)
{
    thread_local std::unordered_map<int, const AVCodec*> found;
    const auto [at, added] = found.try_emplace(static_cast<int>(id), nullptr);
    if (added)
        at->second = avcodec_find_decoder(id);
    return at->second;
}

// MPEG audio decoders need nothing from the container and find rate and
// channels in every frame, so one opened decoder serves file after file once
// its state is flushed; allocating one costs more than decoding a frame.
bool DecoderIsReusable(AVCodecID id)
{
    return id == AV_CODEC_ID_MP3 || id == AV_CODEC_ID_MP2 || id == AV_CODEC_ID_MP1;
}

struct KeptDecoder {
    std::unique_ptr<AVCodecContext, CodecFreer> context;
    AVCodecID id = AV_CODEC_ID_NONE;
};
thread_local KeptDecoder keptDecoder;

// An opened decoder for the stream: the thread's kept one when it fits, else
// a new one. `parameters` from the container, or null when the decoder needs
// none. Null when it cannot open.
std::unique_ptr<AVCodecContext, CodecFreer> OpenDecoder(const AVCodec& codec, const AVCodecParameters* parameters)
{
    if (keptDecoder.context && keptDecoder.id == codec.id) {
        avcodec_flush_buffers(keptDecoder.context.get());
        return std::move(keptDecoder.context);
    }
    std::unique_ptr<AVCodecContext, CodecFreer> decoder(avcodec_alloc_context3(&codec));
    if (!decoder)
        return nullptr;
    decoder->thread_count = 1;
    if ((parameters && avcodec_parameters_to_context(decoder.get(), parameters) < 0) ||
        avcodec_open2(decoder.get(), &codec, nullptr) < 0)
        return nullptr;
    return decoder;
}

// Keeps a decoder that worked for the thread's next file, where that is safe.
void KeepDecoder(std::unique_ptr<AVCodecContext, CodecFreer> decoder, AVCodecID id)
{
    if (!DecoderIsReusable(id))
        return;
    keptDecoder.context = std::move(decoder);
    keptDecoder.id = id;
}

bool HasTags(const ProbedFile& probed)
{
    return !probed.title.empty() || !probed.artist.empty() || !probed.album.empty() || !probed.genre.empty() ||
           probed.year > 0 || probed.track > 0;
}

// The first run of exactly four digits ("2019-05-01" -> 2019); 0 when there is none.
int YearOfDate(const std::string& date)
{
    for (size_t i = 0; i < date.size(); ++i) {
        size_t end = i;
        while (end < date.size() && std::isdigit(static_cast<unsigned char>(date[end])))
            ++end;
        if (end - i == 4)
            return std::stoi(date.substr(i, 4));
        i = end;
    }
    return 0;
}

// A file the tag reader does not know may still carry tags in its container.
void TakeContainerTags(const AVFormatContext& format, int stream, ProbedFile& probed)
{
    // Ogg keeps its comments with the stream, most other containers with the file.
    for (const AVDictionary* dictionary : {static_cast<const AVDictionary*>(format.metadata),
                                           static_cast<const AVDictionary*>(format.streams[stream]->metadata)}) {
        const AVDictionaryEntry* entry = nullptr;
        while ((entry = av_dict_get(dictionary, "", entry, AV_DICT_IGNORE_SUFFIX))) {
            const std::string name = TagNameOfContainerKey(entry->key);
            const std::string value = entry->value;
            if (name == "TITLE")
                probed.title = value;
            else if (name == "ARTIST")
                probed.artist = value;
            else if (name == "ALBUM")
                probed.album = value;
            else if (name == "GENRE")
                probed.genre = value;
            else if (name == "DATE")
                probed.year = YearOfDate(value);
            else if (name == "TRACKNUMBER")
                probed.track = std::atoi(value.c_str());
        }
    }
}

// Opens the file with the decoder library and decodes its first audio frame.
// `known`: the tag reader found sound in the file or it starts like one, so a failure means damage.
// Fills the length from the container when it is still unknown.
ProbedFile CheckDecodes(ProbeBytes& bytes, bool known, const char* container, ProbedFile probed)
{
    // The decoder reads the bytes the tag reader read, through the same open file.
    AvioStream input(bytes);
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw || !input.Context()) {
        avformat_free_context(raw);
        return Problem(ProbeProblem::Unreadable, "cannot read: out of memory");
    }
    raw->pb = input.Context();
    // Naming the container spares the decoder library from trying each format it knows.
    const AVInputFormat* hint = container ? ContainerNamed(container) : nullptr;
    const int opened = avformat_open_input(&raw, bytes.Path().c_str(), hint, nullptr);  // frees raw on failure
    if (bytes.Error())
        return CannotRead(bytes.Error());
    if (opened < 0)
        return Problem(known ? ProbeProblem::Damaged : ProbeProblem::NotAudio, known ? "damaged" : "not an audio file");
    std::unique_ptr<AVFormatContext, FormatCloser> format(raw);
    // Recognised by its contents rather than by its name alone: what fails from here on is damage.
    known = known || format->probe_score > AVPROBE_SCORE_EXTENSION;
    const auto damaged = [&] {
        return known ? Problem(ProbeProblem::Damaged, "damaged") : Problem(ProbeProblem::NotAudio, "not an audio file");
    };

    // Most containers describe their streams in the header; reading ahead for
    // the others costs more than the rest of the check. The decoder learns rate
    // and channels from the first frame itself, so with the length known from
    // the tag reader an audio stream whose codec is named is all that is needed
    // (the best-stream choice passes over streams without rate and channels).
    auto named = [&](unsigned index) {
        const AVCodecParameters* p = format->streams[index]->codecpar;
        return p->codec_type == AVMEDIA_TYPE_AUDIO && p->codec_id != AV_CODEC_ID_NONE;
    };
    auto usable = [&](int index) {
        const AVCodecParameters* p = format->streams[index]->codecpar;
        return named(static_cast<unsigned>(index)) &&
               (probed.lengthMs > 0 || (p->sample_rate > 0 && p->ch_layout.nb_channels > 0));
    };
    int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    for (unsigned i = 0; stream < 0 && probed.lengthMs > 0 && i < format->nb_streams; ++i)
        if (named(i))
            stream = static_cast<int>(i);
    if (stream < 0 || !usable(stream)) {
        if (avformat_find_stream_info(format.get(), nullptr) < 0)
            return damaged();
        stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    }
    if (stream < 0)
        return Problem(ProbeProblem::NotAudio, "not an audio file");
    const AVCodecParameters* parameters = format->streams[stream]->codecpar;
    const AVCodec* codec = DecoderFor(parameters->codec_id);
    if (!codec)
        return Problem(ProbeProblem::Unsupported, "unsupported format");
    for (unsigned i = 0; i < format->nb_streams; ++i)
        if (static_cast<int>(i) != stream)
            format->streams[i]->discard = AVDISCARD_ALL;

    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    if (!packet || !frame)
        return Problem(ProbeProblem::Unreadable, "cannot read: out of memory");
    std::unique_ptr<AVCodecContext, CodecFreer> decoder = OpenDecoder(*codec, parameters);
    if (!decoder)
        return damaged();

    bool decoded = false;
    for (int packets = 0; !decoded && packets < kMaxPacketsToFirstFrame;) {
        const int read = av_read_frame(format.get(), packet.get());
        if (read < 0)
            avcodec_send_packet(decoder.get(), nullptr);  // drain what the decoder holds
        else if (packet->stream_index == stream) {
            ++packets;
            avcodec_send_packet(decoder.get(), packet.get());
        }
        av_packet_unref(packet.get());
        const int received = avcodec_receive_frame(decoder.get(), frame.get());
        decoded = received == 0 && frame->nb_samples > 0;
        if (read < 0 && !decoded)
            break;
    }
    if (bytes.Error())
        return CannotRead(bytes.Error());
    if (!decoded)
        return damaged();
    KeepDecoder(std::move(decoder), parameters->codec_id);
    if (probed.lengthMs <= 0) {
        // Raw AAC states no length; its frames are counted instead of trusting the bit rate.
        if (std::strcmp(format->iformat->name, "aac") == 0)
            probed.lengthMs = std::max(0LL, AdtsLengthMs(bytes.Path()));
        else if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
            probed.lengthMs = av_rescale(format->duration, 1000, AV_TIME_BASE);
    }
    if (!HasTags(probed))
        TakeContainerTags(*format, stream, probed);
    return probed;
}

// Decodes the first audio frame of an MPEG audio file the tag reader has read:
// it found the first frame (`offset`, and whether that frame only describes the
// rest, as a VBR header does), and each frame's header tells its length, so the
// decoder gets the frames without the decoder library reading the file again.
// Nothing when the frames are not as the tag reader saw them: the caller then
// lets the decoder library read the file.
std::optional<ProbedFile> CheckMpegDecodes(ProbeBytes& bytes, long long offset, bool skipFirst, ProbedFile probed)
{
    unsigned char header[4];
    if (bytes.ReadAt(offset, header, sizeof header) != sizeof header)
        return std::nullopt;
    const int layer = ReadMpegFrameHeader(header).layer;
    if (layer == 0)
        return std::nullopt;
    const AVCodec* codec = DecoderFor(layer == 1 ? AV_CODEC_ID_MP1 : layer == 2 ? AV_CODEC_ID_MP2 : AV_CODEC_ID_MP3);
    if (!codec)
        return Problem(ProbeProblem::Unsupported, "unsupported format");
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    if (!packet || !frame)
        return Problem(ProbeProblem::Unreadable, "cannot read: out of memory");
    std::unique_ptr<AVCodecContext, CodecFreer> decoder = OpenDecoder(*codec, nullptr);
    if (!decoder)
        return Problem(ProbeProblem::Damaged, "damaged");

    bool decoded = false;
    for (int packets = 0; !decoded && packets < kMaxPacketsToFirstFrame; ++packets) {
        const MpegFrameHeader next = bytes.ReadAt(offset, header, sizeof header) == sizeof header
                                         ? ReadMpegFrameHeader(header)
                                         : MpegFrameHeader{};
        if (next.layer != layer) {
            // The end of the frames: what the decoder holds is all there is.
            avcodec_send_packet(decoder.get(), nullptr);
            decoded = avcodec_receive_frame(decoder.get(), frame.get()) == 0 && frame->nb_samples > 0;
            break;
        }
        if (std::exchange(skipFirst, false)) {
            offset += next.bytes;
            continue;
        }
        if (av_new_packet(packet.get(), next.bytes) < 0)
            return Problem(ProbeProblem::Unreadable, "cannot read: out of memory");
        const long long got = bytes.ReadAt(offset, packet->data, static_cast<size_t>(next.bytes));
        if (got < 0)
            return CannotRead(bytes.Error());
        av_shrink_packet(packet.get(), static_cast<int>(got));  // a last frame cut short goes as it is
        offset += next.bytes;
        avcodec_send_packet(decoder.get(), packet.get());
        av_packet_unref(packet.get());
        decoded = avcodec_receive_frame(decoder.get(), frame.get()) == 0 && frame->nb_samples > 0;
    }
    if (!decoded)
        return Problem(ProbeProblem::Damaged, "damaged");
    KeepDecoder(std::move(decoder), codec->id);
    return probed;
}

ProbedFile ProbeMidi(ProbeBytes& file)
{
    if (file.Size() > kMaxMidiBytes)
        return Problem(ProbeProblem::Damaged, "damaged");
    std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
    const long long got = file.ReadAt(0, bytes.data(), bytes.size());
    if (got < 0)
        return CannotRead(file.Error());
    bytes.resize(static_cast<size_t>(got));
    MidiTempoMap map;
    if (MidiTempoMap::Parse(bytes, &map) != kOk)
        return Problem(ProbeProblem::Damaged, "damaged");
    ProbedFile probed;
    probed.lengthMs = static_cast<long long>(map.LengthMs() + 0.5);
    return probed;
}

std::string Utf8(const TagLib::String& text) { return text.to8Bit(true); }

// The decoder library's name for the container the tag reader found; null when unsure.
const char* ContainerOf(TagLib::File* file)
{
    if (dynamic_cast<TagLib::MPEG::File*>(file))
        return "mp3";  // layers 1 and 2 too
    if (dynamic_cast<TagLib::Ogg::File*>(file))
        return "ogg";
    if (dynamic_cast<TagLib::FLAC::File*>(file))
        return "flac";
    if (dynamic_cast<TagLib::RIFF::WAV::File*>(file))
        return "wav";
    if (dynamic_cast<TagLib::RIFF::AIFF::File*>(file))
        return "aiff";
    if (dynamic_cast<TagLib::MP4::File*>(file))
        return "mp4";
    if (dynamic_cast<TagLib::ASF::File*>(file))
        return "asf";
    if (dynamic_cast<TagLib::WavPack::File*>(file))
        return "wv";
    if (dynamic_cast<TagLib::TrueAudio::File*>(file))
        return "tta";
    return nullptr;
}

void TakeTag(const TagLib::Tag& tag, ProbedFile& probed)
{
    probed.title = Utf8(tag.title());
    probed.artist = Utf8(tag.artist());
    probed.album = Utf8(tag.album());
    probed.genre = Utf8(tag.genre());
    probed.year = static_cast<int>(tag.year());
    probed.track = static_cast<int>(tag.track());
}

}  // namespace

ProbedFile ProbeFile(const std::string& path)
{
    // Damaged files are reported to the user in plain words, not on the console.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_FATAL); });
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return CannotRead(errno);
    // Reading a pipe would wait for a writer, and a device can be endless.
    if (!S_ISREG(info.st_mode))
        return Problem(ProbeProblem::NotAFile, S_ISDIR(info.st_mode) ? "a folder, not a file" : "not a regular file");
    if (info.st_size == 0)
        return Problem(ProbeProblem::Empty, "empty file");

    // One open for everything below: the tag reader and the decoder read the same bytes.
    ProbeBytes bytes;
    if (const int error = bytes.Open(path, info.st_size))
        return CannotRead(error);
    char magic[4] = {};
    if (bytes.ReadAt(0, magic, sizeof magic) < 0)
        return CannotRead(bytes.Error());
    // The tag reader and the decoder know no MIDI; the tempo map tells a sound file from damage.
    if (std::memcmp(magic, "MThd", 4) == 0)
        return ProbeMidi(bytes);

    ProbedFile probed;
    long long firstMpegFrame = -1;
    bool vbrHeader = false;
    TagStream stream(bytes);
    TagLib::FileRef ref(&stream, true, TagLib::AudioProperties::Average);
    // The tag reader takes random bytes for sound without length; that is no recognition.
    const bool tagged = !ref.isNull() && ref.file()->isValid() && ref.audioProperties() &&
                        ref.audioProperties()->lengthInMilliseconds() > 0;
    if (tagged) {
        const TagLib::Tag* tag = ref.tag();
        // A WAV file's own INFO chunk is not part of the tag it names first.
        if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(ref.file()); wav && (!tag || tag->isEmpty()))
            tag = wav->InfoTag();
        if (tag)
            TakeTag(*tag, probed);
        // Some tag kinds keep the date under a name their year does not read.
        if (probed.year == 0 && HasTags(probed)) {
            const TagLib::StringList date = ref.file()->properties()["DATE"];
            if (!date.isEmpty())
                probed.year = YearOfDate(Utf8(date.front()));
        }
        probed.lengthMs = ref.audioProperties()->lengthInMilliseconds();
        // MP4 states the media's full length, priming and padding included; the
        // container's edit list, read by the decoder, says what plays.
        if (dynamic_cast<TagLib::MP4::File*>(ref.file()))
            probed.lengthMs = 0;
        if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(ref.file())) {
            const long long gapless = Mp3GaplessLengthMs(*mpeg);
            if (gapless > 0)
                probed.lengthMs = gapless;
            firstMpegFrame = mpeg->firstFrameOffset();
            vbrHeader = mpeg->audioProperties() && mpeg->audioProperties()->xingHeader();
        }
    }
    const bool id3 = std::memcmp(magic, "ID3", 3) == 0;
    if (bytes.Error())
        return CannotRead(bytes.Error());
    // Tags from the container are looked for only where the tag reader found none.
    if (firstMpegFrame >= 0 && HasTags(probed))
        if (std::optional<ProbedFile> checked = CheckMpegDecodes(bytes, firstMpegFrame, vbrHeader, probed))
            return std::move(*checked);
    return CheckDecodes(bytes, tagged || id3, tagged ? ContainerOf(ref.file()) : nullptr, std::move(probed));
}

}  // namespace audio
