#pragma once
// Wide text for paths and registry values. The string has character traits of its own so
// that the library's prebuilt wide string, which a statically linked program otherwise
// carries whole (about 27 KB), stays out: only the members the program uses are compiled in.

#include <string>

struct WideTraits : std::char_traits<wchar_t> {};
using WideString = std::basic_string<wchar_t, WideTraits>;
