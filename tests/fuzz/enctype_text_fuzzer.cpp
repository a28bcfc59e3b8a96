// Fuzzes the enctype lists on both sides: the chooser's splitting of its buffer and its bounded
// joining of ticked names, and the generator's rewriting of an edit's list into [libdefaults].
#include "config_generation.h"
#include "enctype_buffer.h"
#include "enctype_names.h"
#include "enctype_tokens.h"
#include "fuzz_bytes.h"

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// Names as a reader of the list sees them: runs of commas and blanks separate, ends are ignored.
Names ExpectedNames(const std::string& text)
{
    Names names;
    const std::string delimiters = ", ";
    std::size_t start = text.find_first_not_of(delimiters);
    while (start != std::string::npos) {
        const std::size_t end = text.find_first_of(delimiters, start);
        names.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : text.find_first_not_of(delimiters, end);
    }
    return names;
}

std::string UpToNul(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

std::string Joined(const Names& names, const std::string& separator)
{
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : separator) + name;
    return joined;
}

// The chooser reads the whole buffer, which need not hold a NUL: an exact-size heap block makes
// any read past it a finding.
void CheckSplitting(const std::string& bytes)
{
    std::unique_ptr<char[]> block(new char[bytes.size()]);
    if (!bytes.empty())
        std::memcpy(block.get(), bytes.data(), bytes.size());
    FUZZ_CHECK(SplitEncTypeList(block.get(), bytes.size()) == ExpectedNames(UpToNul(bytes)),
              "splitting " + FuzzShown(bytes));
    const std::size_t window = bytes.size() < kEncTypeTextCapacity ? bytes.size() : kEncTypeTextCapacity;
    FUZZ_CHECK(SplitEncTypeList(block.get(), window) == ExpectedNames(UpToNul(bytes.substr(0, window))),
              "splitting the first 200 bytes of " + FuzzShown(bytes));
}

// Appends to a buffer of `capacity` bytes that starts with arbitrary bytes, perhaps without a NUL.
void CheckJoining(FuzzBytes& bytes, std::size_t capacity)
{
    std::unique_ptr<char[]> block(new char[capacity]);
    const std::string start = bytes.Text(255);
    for (std::size_t i = 0; i < capacity; ++i)
        block[i] = i < start.size() ? start[i] : '\0';
    EncTypeBuffer buffer{block.get(), capacity};

    const std::string held(block.get(), capacity);
    const std::size_t nul = held.find('\0');
    std::string unbounded = capacity == 0 ? std::string() : held.substr(0, nul == std::string::npos ? capacity - 1 : nul);
    FUZZ_CHECK(EncTypeTextLength(buffer) == unbounded.size(), "the length of a buffer");

    const std::size_t count = bytes.Byte() % 12;
    for (std::size_t n = 0; n < count; ++n) {
        const std::string name = bytes.Text(64);
        AppendEncTypeName(buffer, name.c_str());
        if (!unbounded.empty())
            unbounded += ", ";
        unbounded += UpToNul(name);
        if (capacity == 0)
            continue;
        FUZZ_CHECK(std::memchr(block.get(), '\0', capacity) != nullptr, "the joined text lost its NUL");
        FUZZ_CHECK(std::string(block.get()) == unbounded.substr(0, capacity - 1),
                  "joined " + FuzzShown(block.get()) + ", expected " + FuzzShown(unbounded.substr(0, capacity - 1)));
    }
    ClearEncTypeText(buffer);
    for (std::size_t i = 0; i < capacity; ++i)
        FUZZ_CHECK(block[i] == '\0', "a byte left after clearing");
}

// What the chooser writes for ticked table names, and that its own fill reads them back.
std::string ChooserText(std::uint8_t ticked)
{
    char text[kEncTypeTextCapacity];
    EncTypeBuffer buffer{text, sizeof text};
    ClearEncTypeText(buffer);
    Names names;
    for (int index = kEncTypeCount - 1; index >= 0; --index)
        if ((ticked >> index) & 1) {
            AppendEncTypeName(buffer, kEncTypeNames[index]);
            names.emplace_back(kEncTypeNames[index]);
        }
    FUZZ_CHECK(SplitEncTypeList(text, sizeof text) == names, "the chooser's text does not read back");
    FUZZ_CHECK(std::strlen(text) <= 142, "the chooser's text is longer than all eight names");
    return text;
}

// The edit holds at most 199 characters; the generator writes its names joined by single blanks.
void CheckGenerator(const std::string& tgs, const std::string& tkt)
{
    DialogState state;
    state.tgsEnctypes = tgs;
    state.tktEnctypes = tkt;
    std::ostringstream out;
    GenerateConfigText(state, RealmDirectory(), ConfigTextWriter{out});

    std::string expected;
    const std::string tgsValue = Joined(ExpectedNames(tgs), " ");
    const std::string tktValue = Joined(ExpectedNames(tkt), " ");
    if (!tgsValue.empty())
        expected += "default_tgs_enctypes = " + tgsValue + "\n";
    if (!tktValue.empty())
        expected += "default_tkt_enctypes = " + tktValue + "\n";
    if (!expected.empty())
        expected = "[libdefaults]\n" + expected + "\n";
    FUZZ_CHECK(out.str() == expected, "generated " + FuzzShown(out.str()) + ", expected " + FuzzShown(expected));
    FUZZ_CHECK(tgsValue.size() <= tgs.size() && tktValue.size() <= tkt.size(), "a rewritten list grew");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzBytes bytes{data, size};
    const std::uint8_t shape = bytes.Byte();
    const std::size_t capacity = (shape & 0x80) != 0 ? kEncTypeTextCapacity : shape % (kEncTypeTextCapacity + 1);
    const std::string chooserText = ChooserText(bytes.Byte());
    CheckJoining(bytes, capacity);
    const std::string rest = bytes.Rest();
    CheckSplitting(rest);
    CheckGenerator(UpToNul(rest).substr(0, kEncTypeTextCapacity - 1), chooserText);
    return 0;
}
