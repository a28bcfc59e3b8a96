// Bounded building of the chooser's joined text.
#include "enctype_buffer.h"

#include <cstring>

namespace {

constexpr char kSeparator[] = ", ";

// Copies as much of `piece` as fits, keeping the final byte for the NUL.
void AppendBounded(EncTypeBuffer& buffer, const char* piece)
{
    std::size_t length = EncTypeTextLength(buffer);
    std::size_t room = buffer.capacity - length - 1;
    std::size_t count = std::strlen(piece);
    if (count > room)
        count = room;
    std::memcpy(buffer.text + length, piece, count);
    buffer.text[length + count] = '\0';
}

}  // namespace

std::size_t EncTypeTextLength(const EncTypeBuffer& buffer)
{
    if (buffer.text == nullptr || buffer.capacity == 0)
        return 0;
    const void* end = std::memchr(buffer.text, '\0', buffer.capacity);
    // An unterminated buffer is treated as full; the next append terminates it.
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer.text) : buffer.capacity - 1;
}

void ClearEncTypeText(EncTypeBuffer& buffer)
{
    if (buffer.text != nullptr)
        std::memset(buffer.text, 0, buffer.capacity);
}

void AppendEncTypeName(EncTypeBuffer& buffer, const char* name)
{
    if (buffer.text == nullptr || buffer.capacity == 0 || name == nullptr)
        return;
    if (EncTypeTextLength(buffer) > 0)
        AppendBounded(buffer, kSeparator);
    AppendBounded(buffer, name);
}
