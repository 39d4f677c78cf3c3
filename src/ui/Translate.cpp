#include "ui/Translate.h"

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/CharSet.h"

// Defined by the compiled-in tables; see BuiltInTranslationsRegistered.
extern const bool kGridTextsRegistered;
extern const bool kPlayerTextsRegistered;

namespace {

constexpr char kBel = '\a';
constexpr char kVt = '\v';

// The keys of the date settings, with their English defaults after BEL.
constexpr const char* kDateFormatId = "date-format\a%2:02d/%3:02d/%1:4d";
constexpr const char* kDateScanId = "date-scan\amdy";
constexpr const char* kDateFilterId = "date-filter\a/.- ";

// Hash over a key, four bytes at a time, then byte by byte for the rest.
struct KeyHash {
    size_t operator()(std::string_view key) const
    {
        uint32_t h = 1234567890u;
        size_t i = 0;
        for (; i + 4 <= key.size(); i += 4) {
            uint32_t word;
            std::memcpy(&word, key.data() + i, 4);
            h = h * 31 ^ word;
        }
        for (; i < key.size(); ++i)
            h = h * 31 ^ static_cast<unsigned char>(key[i]);
        return h;
    }
};

// Position of the first separator that is not doubled, or npos. VT counts only when `withVt`.
size_t FindSeparator(std::string_view text, bool withVt)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != kBel && c != kVt)
            continue;
        if (i + 1 < text.size() && text[i + 1] == c) {
            ++i;  // a doubled escape stands for the character itself
            continue;
        }
        if (c == kBel || withVt)
            return i;
    }
    return std::string_view::npos;
}

// The part of an identifier the tables are searched by: everything up to its first single BEL.
std::string_view KeyOf(std::string_view identifier)
{
    return identifier.substr(0, FindSeparator(identifier, false));
}

bool HasDoubledEscape(std::string_view text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if ((text[i] == kBel || text[i] == kVt) && text[i + 1] == text[i])
            return true;
    return false;
}

std::string ReduceDoubledEscapes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if ((text[i] == kBel || text[i] == kVt) && i + 1 < text.size() && text[i + 1] == text[i])
            ++i;
    }
    return out;
}

struct Module {
    const TranslationEntry* table = nullptr;
    bool enabled = true;
    std::unordered_map<std::string_view, std::vector<TranslationEntry>, KeyHash> index;
};

struct CachedResult {
    std::string identifier;  // guards against a different text reusing a freed address
    const char* text;
};

struct TranslationState {
    std::mutex lock;
    std::vector<Module> modules;
    std::unordered_map<const char*, CachedResult> cache;
    // Delivered texts are kept for the life of the process: a caller still
    // holding a pointer from before a language switch reads a stale text, not
    // freed memory. Both stores are bounded by the distinct texts ever delivered.
    std::map<std::pair<uint8_t, const char*>, std::string> converted;
    std::set<std::string, std::less<>> reducedFallbacks;
    DateSettings date;

    const char* Lookup(std::string_view key, uint32_t language, uint32_t mask) const
    {
        for (const Module& module : modules) {
            if (!module.enabled)
                continue;
            const auto it = module.index.find(key);
            if (it == module.index.end())
                continue;
            for (const TranslationEntry& entry : it->second)
                if (((entry.code ^ language) & mask) == 0)
                    return entry.text;
        }
        return nullptr;
    }

    const char* Deliver(const char* utf8, uint32_t language)
    {
        const uint8_t charset = LanguageCharSet(language);
        if (charset == CHARSET_UTF8)
            return utf8;
        auto [it, inserted] = converted.try_emplace({charset, utf8});
        if (inserted)
            it->second = ConvertCharSet(utf8, charset, CHARSET_UTF8);
        return it->second.c_str();
    }

    const char* Fallback(const char* identifier)
    {
        const std::string_view whole(identifier);
        const size_t separator = FindSeparator(whole, true);
        const std::string_view english =
            separator == std::string_view::npos ? whole : whole.substr(separator + 1);
        if (!HasDoubledEscape(english))
            return english.data();  // a suffix of the caller's own text
        return reducedFallbacks.insert(ReduceDoubledEscapes(english)).first->c_str();
    }

    const char* Resolve(const char* identifier, uint32_t language)
    {
        const std::string_view key = KeyOf(identifier);
        const char* found = Lookup(key, language, kLanguageAndCountryMask);
        if (!found)
            found = Lookup(key, language, kLanguageOnlyMask);
        return found ? Deliver(found, language) : Fallback(identifier);
    }

    void ReloadDateSettings(uint32_t language)
    {
        date.format = Resolve(kDateFormatId, language);
        date.scan = Resolve(kDateScanId, language);
        date.filter = Resolve(kDateFilterId, language);
    }

    TranslationState() { ReloadDateSettings(0); }
};

// Created on first use, so modules may register from any static initialiser.
TranslationState& State()
{
    static TranslationState state;
    return state;
}

// Read without the lock by code that only needs the code (collation, for one).
std::atomic<uint32_t> currentLanguage{0};

}  // namespace

uint8_t LanguageCharSet(uint32_t code)
{
    const uint32_t charset = code >> 20 & 0xFF;
    return charset == CHARSET_NONE ? uint8_t(CHARSET_UTF8) : static_cast<uint8_t>(charset);
}

void SetLanguage(uint32_t code)
{
    TranslationState& state = State();
    std::lock_guard guard(state.lock);
    currentLanguage.store(code);
    SetDefaultCharSet(LanguageCharSet(code));
    state.cache.clear();
    state.ReloadDateSettings(code);
}

uint32_t GetCurrentLanguage() { return currentLanguage.load(); }

const char* Translate(const char* identifier)
{
    if (!identifier)
        return "";
    TranslationState& state = State();
    std::lock_guard guard(state.lock);
    const auto cached = state.cache.find(identifier);
    if (cached != state.cache.end() && cached->second.identifier == identifier)
        return cached->second.text;
    const char* text = state.Resolve(identifier, currentLanguage.load());
    state.cache.insert_or_assign(identifier, CachedResult{identifier, text});
    return text;
}

bool RegisterTranslationModule(const TranslationEntry* table, bool enabled)
{
    if (!table)
        return false;
    Module module;
    module.table = table;
    module.enabled = enabled;
    std::vector<TranslationEntry>* translations = nullptr;
    for (const TranslationEntry* entry = table; entry->code != 0 && entry->text; ++entry) {
        if (entry->code == kTranslationIdentifier)
            translations = &module.index[KeyOf(entry->text)];
        else if (translations)  // entries before the first identifier belong to nothing
            translations->push_back(*entry);
    }
    TranslationState& state = State();
    std::lock_guard guard(state.lock);
    state.modules.push_back(std::move(module));
    // A new module may translate texts already answered with their fallback.
    state.cache.clear();
    state.ReloadDateSettings(currentLanguage.load());
    return true;
}

bool EnableTranslationModule(const TranslationEntry* table, bool enabled)
{
    TranslationState& state = State();
    std::lock_guard guard(state.lock);
    for (Module& module : state.modules) {
        if (module.table != table)
            continue;
        if (module.enabled != enabled) {
            module.enabled = enabled;
            state.cache.clear();
            state.ReloadDateSettings(currentLanguage.load());
        }
        return true;
    }
    return false;
}

bool IsTranslationModuleEnabled(const TranslationEntry* table)
{
    TranslationState& state = State();
    std::lock_guard guard(state.lock);
    for (const Module& module : state.modules)
        if (module.table == table)
            return module.enabled;
    return false;
}

bool BuiltInTranslationsRegistered()
{
    // Naming the flags here also makes the linker keep those tables in the
    // program: nothing else refers to them, they only register themselves.
    return kGridTextsRegistered && kPlayerTextsRegistered;
}

DateSettings GetDateSettings()
{
    TranslationState& state = State();
    std::lock_guard guard(state.lock);
    return state.date;
}
