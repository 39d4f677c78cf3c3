#include "ui/ValueCompare.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>
#include <atomic>
#include <memory>
#include <mutex>

#include "core/Utf8.h"
#include "ui/Translate.h"

namespace {

enum class Group { Null, Number, Text, DateTime };

Group GroupOf(const Value& v)
{
    if (v.IsNull())
        return Group::Null;
    switch (v.Kind()) {
    case ValueKind::Int:
    case ValueKind::Int64:
    case ValueKind::Double: return Group::Number;
    case ValueKind::String:
    case ValueKind::WString: return Group::Text;
    default: return Group::DateTime;
    }
}

template <class T>
int Order(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareNumbers(const Value& a, const Value& b)
{
    if (a.Kind() != ValueKind::Double && b.Kind() != ValueKind::Double)
        return Order(a.ToInt64(), b.ToInt64());
    // long double holds every 64-bit integer exactly, so int64 against double loses nothing.
    auto wide = [](const Value& v) {
        return v.Kind() == ValueKind::Double ? static_cast<long double>(v.ToDouble())
                                             : static_cast<long double>(v.ToInt64());
    };
    return Order(wide(a), wide(b));
}

Time AsTime(const Value& v)
{
    if (v.Kind() == ValueKind::Time)
        return v.GetTime();
    const Date d = v.GetDate();
    return Time{d.year, d.month, d.day, 0, 0, 0};
}

QLocale LocaleOf(uint32_t language)
{
    auto letter = [language](int shift) {
        const uint32_t n = language >> shift & 0x1F;
        return n >= 1 && n <= 26 ? QChar(u'a' + (n - 1)) : QChar();
    };
    const QChar l1 = letter(15), l2 = letter(10), c1 = letter(5), c2 = letter(0);
    if (l1.isNull() || l2.isNull())
        return QLocale(QLocale::English, QLocale::UnitedStates);
    QString name = QString(l1) + l2;
    if (!c1.isNull() && !c2.isNull())
        name += QString(u'_') + c1.toUpper() + c2.toUpper();
    return QLocale(name);
}

// One collator per thread, rebuilt only when the language changes: building
// one is far dearer than a comparison.
const QCollator& CurrentCollator()
{
    struct Cached {
        uint32_t language = 0;
        std::unique_ptr<QCollator> collator;
    };
    thread_local Cached cached;
    const uint32_t language = GetCurrentLanguage() & kLanguageAndCountryMask;
    if (!cached.collator || cached.language != language) {
        cached.collator = std::make_unique<QCollator>(LocaleOf(language));
        cached.language = language;
    }
    return *cached.collator;
}

// UTF-16 copies of the texts in stack buffers for the usual short cell, so a sort
// does not allocate for each comparison.
using Utf16Buffer = QVarLengthArray<char16_t, 256>;

// Writes one code point at `out`, returning the position after it.
char16_t* PutCodePoint(char32_t cp, char16_t* out)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    if (cp >= 0x10000) {
        cp -= 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        *out++ = static_cast<char16_t>(cp);
    }
    return out;
}

// UTF-8 never needs more UTF-16 units than it has bytes, so one resize covers the text.
void PutUtf8Text(const String& s, Utf16Buffer& out)
{
    out.resize(s.size());
    char16_t* next = out.data();
    for (size_t pos = 0; pos < s.size();) {
        const auto byte = static_cast<unsigned char>(s[pos]);
        if (byte < 0x80) {  // by far the common case, no decoder needed
            *next++ = byte;
            ++pos;
        } else {
            next = PutCodePoint(DecodeUtf8(s, pos), next);
        }
    }
    out.resize(next - out.data());
}

// A wide character may need two UTF-16 units.
void PutWideText(const WString& s, Utf16Buffer& out)
{
    out.resize(s.size() * 2);
    char16_t* next = out.data();
    for (const wchar_t c : s)
        next = PutCodePoint(static_cast<char32_t>(c), next);
    out.resize(next - out.data());
}

void PutText(const Value& v, Utf16Buffer& out)
{
    if (v.Kind() == ValueKind::WString)
        PutWideText(v.GetWString(), out);
    else
        PutUtf8Text(v.GetString(), out);
}

int Collate(const Utf16Buffer& a, const Utf16Buffer& b)
{
    const int order = CurrentCollator().compare(QStringView(a.constData(), a.size()),
                                                QStringView(b.constData(), b.size()));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int CollateTexts(const Value& a, const Value& b)
{
    Utf16Buffer left, right;
    PutText(a, left);
    PutText(b, right);
    return Collate(left, right);
}

}  // namespace

int CollateText(const String& a, const String& b)
{
    Utf16Buffer left, right;
    PutUtf8Text(a, left);
    PutUtf8Text(b, right);
    return Collate(left, right);
}

int StdValueCompare(const Value& a, const Value& b)
{
    // Whole numbers are the most sorted kind; their null is the smallest int, so it still sorts first.
    if (a.Kind() == ValueKind::Int && b.Kind() == ValueKind::Int)
        return Order(a.ToInt(), b.ToInt());
    const Group ga = GroupOf(a);
    const Group gb = GroupOf(b);
    if (ga != gb)
        return ga < gb ? -1 : 1;
    switch (ga) {
    case Group::Null: return 0;
    case Group::Number: return CompareNumbers(a, b);
    case Group::Text: return CollateTexts(a, b);
    case Group::DateTime: return Order(AsTime(a), AsTime(b));
    }
    return 0;
}
