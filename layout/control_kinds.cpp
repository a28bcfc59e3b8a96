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

constexpr std::uint32_t kButtonTypeMask = 0x0F;
constexpr std::uint32_t kPushButton = 0x0;
constexpr std::uint32_t kDefaultPushButton = 0x1;
constexpr std::uint32_t kUserButton = 0x8;
constexpr std::uint32_t kOwnerDrawnButton = 0xB;

}  // namespace

bool IsFixedSizeControl(const char* className, std::uint32_t style)
{
    if (!SameNameIgnoringCase(className, "Button"))
        return false;
    std::uint32_t type = style & kButtonTypeMask;
    return type == kPushButton || type == kDefaultPushButton || type == kUserButton || type == kOwnerDrawnButton;
}

bool IsStaticControl(const char* className)
{
    return SameNameIgnoringCase(className, "STATIC");
}
