// Message texts from the system's message table.
#include "system_error_text.h"

#include <windows.h>

std::string SystemErrorText(std::uint32_t code)
{
    constexpr DWORD kFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
    // The user's default language.
    constexpr DWORD kLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
    char* buffer = nullptr;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument is the address of the pointer.
    const DWORD length = FormatMessageA(kFlags, nullptr, code, kLanguage, reinterpret_cast<LPSTR>(&buffer), 0,
                                        nullptr);
    // Taken exactly as the system gives it: the trailing line break stays.
    std::string text = (length == 0 || buffer == nullptr) ? std::string("Unknown error.") : std::string(buffer);
    if (buffer != nullptr)
        LocalFree(buffer);
    return text;
}
