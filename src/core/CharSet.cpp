#include "core/CharSet.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <mutex>
#include <strings.h>
#include <unordered_map>

#include "core/Utf8.h"

namespace {

constexpr char32_t kUndefined = 0xFFFF;

struct CharSetInfo {
    uint8_t number;
    const char* name;
    const char* iconvName;  // nullptr: the system converter does not know it
};

// Registration order is the numbering; UTF-8 closes the list with its fixed number.
constexpr CharSetInfo kRegistry[] = {
    {CHARSET_NONE, "NONE", nullptr},
    {CHARSET_ISO8859_1, "iso8859-1", "ISO-8859-1"},
    {CHARSET_ISO8859_2, "iso8859-2", "ISO-8859-2"},
    {CHARSET_ISO8859_3, "iso8859-3", "ISO-8859-3"},
    {CHARSET_ISO8859_4, "iso8859-4", "ISO-8859-4"},
    {CHARSET_ISO8859_5, "iso8859-5", "ISO-8859-5"},
    {CHARSET_ISO8859_6, "iso8859-6", "ISO-8859-6"},
    {CHARSET_ISO8859_7, "iso8859-7", "ISO-8859-7"},
    {CHARSET_ISO8859_8, "iso8859-8", "ISO-8859-8"},
    {CHARSET_ISO8859_9, "iso8859-9", "ISO-8859-9"},
    {CHARSET_ISO8859_10, "iso8859-10", "ISO-8859-10"},
    {CHARSET_ISO8859_13, "iso8859-13", "ISO-8859-13"},
    {CHARSET_ISO8859_14, "iso8859-14", "ISO-8859-14"},
    {CHARSET_ISO8859_15, "iso8859-15", "ISO-8859-15"},
    {CHARSET_ISO8859_16, "iso8859-16", "ISO-8859-16"},
    {CHARSET_WIN1250, "windows-1250", "WINDOWS-1250"},
    {CHARSET_WIN1251, "windows-1251", "WINDOWS-1251"},
    {CHARSET_WIN1252, "windows-1252", "WINDOWS-1252"},
    {CHARSET_WIN1253, "windows-1253", "WINDOWS-1253"},
    {CHARSET_WIN1254, "windows-1254", "WINDOWS-1254"},
    {CHARSET_WIN1255, "windows-1255", "WINDOWS-1255"},
    {CHARSET_WIN1256, "windows-1256", "WINDOWS-1256"},
    {CHARSET_WIN1257, "windows-1257", "WINDOWS-1257"},
    {CHARSET_WIN1258, "windows-1258", "WINDOWS-1258"},
    {CHARSET_KOI8_R, "koi8-r", "KOI8-R"},
    {CHARSET_CP852, "cp852", "CP852"},
    {CHARSET_MJK, "mjk", nullptr},
    {CHARSET_UTF8, "UTF-8", "UTF-8"},
};

const CharSetInfo* FindInfo(int charset)
{
    for (const CharSetInfo& info : kRegistry)
        if (info.number == charset)
            return &info;
    return nullptr;
}

// The Czech and Slovak DOS set: its own letters in 0x80-0xAF, the rest of the
// upper half as in the original PC set (box drawing, Greek, mathematics).
constexpr char32_t kMjkUpperHalf[128] = {
    0x010C, 0x00FC, 0x00E9, 0x010F, 0x00E4, 0x010E, 0x0164, 0x010D,  // 80
    0x011B, 0x011A, 0x0139, 0x00CD, 0x013E, 0x013A, 0x00C4, 0x00C1,  // 88
    0x00C9, 0x017E, 0x017D, 0x00F4, 0x00F6, 0x00D3, 0x016F, 0x00DA,  // 90
    0x00FD, 0x00D6, 0x00DC, 0x0160, 0x013D, 0x00DD, 0x0158, 0x0165,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x0148, 0x0147, 0x016E, 0x00D4,  // A0
    0x0161, 0x0159, 0x0155, 0x0154, 0x00BC, 0x00A7, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // E8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // F8
};

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (IsOpen())
            iconv_close(handle_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool IsOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // One byte of the source set to its character; kUndefined when the set leaves it empty.
    char32_t Decode(unsigned char byte)
    {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        char in = static_cast<char>(byte);
        unsigned char out[8] = {};
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        // Sets with combining marks hold a base letter back until told the text ended.
        if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
            iconv(handle_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
            sizeof out - outLeft != 4)
            return kUndefined;
        return char32_t(out[0]) | char32_t(out[1]) << 8 | char32_t(out[2]) << 16 | char32_t(out[3]) << 24;
    }

private:
    iconv_t handle_;
};

// Both directions of one 8-bit set, built once on first use. The lower half is ASCII.
struct CodePage {
    std::array<char32_t, 128> upper{};
    std::unordered_map<char32_t, unsigned char> reverse;

    void Fill(const CharSetInfo& info)
    {
        upper.fill(kUndefined);
        if (info.number == CHARSET_MJK) {
            std::copy(std::begin(kMjkUpperHalf), std::end(kMjkUpperHalf), upper.begin());
        } else if (info.iconvName) {
            // Without the system's converter module the upper half stays undefined,
            // so such text degrades to the unmappable marker instead of garbage.
            IconvHandle handle("UTF-32LE", info.iconvName);
            if (handle.IsOpen())
                for (int i = 0; i < 128; ++i)
                    upper[i] = handle.Decode(static_cast<unsigned char>(0x80 + i));
        }
        for (int i = 127; i >= 0; --i)  // the lowest byte wins if a set maps a character twice
            if (upper[i] != kUndefined)
                reverse[upper[i]] = static_cast<unsigned char>(0x80 + i);
    }

    unsigned char Encode(char32_t cp) const
    {
        if (cp < 0x80)
            return static_cast<unsigned char>(cp);
        const auto it = reverse.find(cp);
        return it == reverse.end() ? kUnmappableChar : it->second;
    }
};

const CodePage& GetCodePage(uint8_t charset)
{
    static std::array<CodePage, CHARSET_MJK + 1> pages;
    static std::array<std::once_flag, CHARSET_MJK + 1> built;
    std::call_once(built[charset], [charset] { pages[charset].Fill(*FindInfo(charset)); });
    return pages[charset];
}

std::atomic<uint8_t> defaultCharSet{CHARSET_UTF8};

}  // namespace

const char* CharSetName(int charset)
{
    const CharSetInfo* info = FindInfo(charset);
    return info ? info->name : nullptr;
}

int CharSetByName(std::string_view name)
{
    for (const CharSetInfo& info : kRegistry)
        if (name.size() == std::strlen(info.name) && strncasecmp(name.data(), info.name, name.size()) == 0)
            return info.number;
    return -1;
}

bool IsRegisteredCharSet(int charset) { return FindInfo(charset) != nullptr; }

void SetDefaultCharSet(int charset)
{
    const uint8_t resolved = (charset == CHARSET_NONE || !IsRegisteredCharSet(charset))
                                 ? uint8_t(CHARSET_UTF8)
                                 : static_cast<uint8_t>(charset);
    defaultCharSet.store(resolved);
}

uint8_t GetDefaultCharSet() { return defaultCharSet.load(); }

uint8_t ResolveCharSet(int charset)
{
    if (charset == CHARSET_NONE || !IsRegisteredCharSet(charset))
        return GetDefaultCharSet();
    return static_cast<uint8_t>(charset);
}

char32_t CharSetToUnicode(int charset, unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    const uint8_t set = ResolveCharSet(charset);
    if (set == CHARSET_UTF8)
        return kUndefined;  // a lone byte of the upper half is no character in UTF-8
    return GetCodePage(set).upper[byte - 0x80];
}

std::string ConvertCharSet(std::string_view text, int to, int from)
{
    const uint8_t target = ResolveCharSet(to);
    const uint8_t source = ResolveCharSet(from);
    if (target == source)
        return std::string(text);

    const CodePage* targetPage = target == CHARSET_UTF8 ? nullptr : &GetCodePage(target);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    auto emit = [&](char32_t cp) {
        if (!targetPage) {
            if (cp == kUndefined)
                out += kUnmappableChar;
            else
                AppendUtf8(out, cp);
        } else if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else {
            out += static_cast<char>(targetPage->Encode(cp));
        }
    };

    if (source == CHARSET_UTF8) {
        const std::string utf8(text);
        for (size_t pos = 0; pos < utf8.size();)
            emit(DecodeUtf8(utf8, pos));
    } else {
        const CodePage& page = GetCodePage(source);
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            emit(byte < 0x80 ? char32_t(byte) : page.upper[byte - 0x80]);
        }
    }
    return out;
}
