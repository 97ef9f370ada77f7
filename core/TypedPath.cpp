#include "core/TypedPath.h"

#include "core/StartUp.h"

std::string CleanTypedPath(const std::string& text)
{
    const char* const kBlanks = " \t";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(kBlanks);
    return StripCommandLineQuotes(text.substr(first, last - first + 1));
}
