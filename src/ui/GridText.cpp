#include "ui/GridText.h"

String FillText(const char* pattern, const String& word)
{
    String text = pattern;
    const size_t at = text.find("%s");
    if (at != String::npos)
        text.replace(at, 2, word);
    return text;
}

String FillNumbers(const char* pattern, std::initializer_list<long long> numbers)
{
    String text = pattern;
    size_t from = 0;
    for (long long number : numbers) {
        const size_t at = text.find("%d", from);
        if (at == String::npos)
            break;
        const String digits = std::to_string(number);
        text.replace(at, 2, digits);
        from = at + digits.size();
    }
    return text;
}
