// Reading a fuzzer's input as a stream of choices, and stopping loudly when a check fails.
#ifndef QUILLMERE_FUZZ_BYTES_H
#define QUILLMERE_FUZZ_BYTES_H

#include <cstddef>
#include <cstdint>
#include <string>

// Past the end every read gives zeros, so any input decodes to something.
struct FuzzBytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset = 0;

    bool Empty() const { return offset >= size; }
    std::uint8_t Byte();
    std::uint32_t Word();  // four bytes, little-endian
    // A length byte (at most maxLength), then that many bytes.
    std::string Text(std::size_t maxLength);
    // Everything not read yet.
    std::string Rest();
};

// Prints what failed and aborts, so that libFuzzer keeps the input as a crash.
[[noreturn]] void FuzzFail(const std::string& what);

// The message is built only when the check fails: the checks run on every input.
#define FUZZ_CHECK(condition, message) \
    do {                               \
        if (!(condition))              \
            FuzzFail(message);         \
    } while (false)

// The text with every byte outside printable ASCII written as \xHH, for messages.
std::string FuzzShown(const std::string& text);

#endif
