// Text of the ANSI code page in UTF-8, through the system's code page tables.
#include "utf8_text.h"

#include <windows.h>

#include <algorithm>
#include <limits>

bool Utf8FromAnsi(const std::string& ansi, std::string& utf8, unsigned long& error)
{
    // ASCII is the same bytes in every code page Windows uses for ANSI text, and in UTF-8: no
    // conversion, and no wide copy of a text that may be tens of megabytes.
    if (std::all_of(ansi.begin(), ansi.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        utf8 = ansi;
        return true;
    }
    utf8.clear();
    if (ansi.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        error = ERROR_ARITHMETIC_OVERFLOW;
        return false;
    }
    const int size = static_cast<int>(ansi.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    if (wideLength <= 0) {
        error = GetLastError();
        return false;
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, &wide[0], wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        error = GetLastError();
        return false;
    }
    utf8.assign(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &utf8[0], length, nullptr, nullptr);
    return true;
}
