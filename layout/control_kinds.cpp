// Control kinds by window class name (compared without regard to case) and style.
#include "control_kinds.h"

namespace {

bool SameNameIgnoringCase(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return false;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (lower(*a) != lower(*b))
            return false;
    }
    return *a == *b;
}

constexpr std::uint32_t ButtonTypeMask = 0x0F;
constexpr std::uint32_t PushButton = 0x0;
constexpr std::uint32_t DefaultPushButton = 0x1;
constexpr std::uint32_t UserButton = 0x8;
constexpr std::uint32_t OwnerDrawnButton = 0xB;

}  // namespace

bool IsFixedSizeControl(const char* className, std::uint32_t style)
{
    if (!SameNameIgnoringCase(className, "Button"))
        return false;
    std::uint32_t type = style & ButtonTypeMask;
    return type == PushButton || type == DefaultPushButton || type == UserButton || type == OwnerDrawnButton;
}

bool IsStaticControl(const char* className)
{
    return SameNameIgnoringCase(className, "STATIC");
}
