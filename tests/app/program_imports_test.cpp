// quillmere.exe's import table: the DLLs that are not KnownDLLs are not imported at load time,
// where Windows would look for them in the program's folder first.
#include "remote_quillmere.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t Read(const Bytes& bytes, std::size_t offset, std::size_t size)
{
    if (offset + size > bytes.size() || offset + size < offset)
        throw std::runtime_error("the file ends inside a header");
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;)
        value = (value << 8) | bytes[offset + i];
    return value;
}

struct Section {
    std::uint32_t address;
    std::uint32_t size;
    std::uint32_t fileOffset;
};

std::size_t FileOffset(const std::vector<Section>& sections, std::uint32_t rva)
{
    for (const Section& section : sections) {
        if (rva >= section.address && rva < section.address + section.size)
            return section.fileOffset + (rva - section.address);
    }
    throw std::runtime_error("an address outside every section");
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The DLL names of the import directory (data directory 1), in lower case.
std::set<std::string> LoadTimeImports(const Bytes& image)
{
    const std::size_t pe = Read(image, 0x3C, 4);
    if (Read(image, pe, 4) != 0x00004550)
        throw std::runtime_error("no PE signature");
    const std::size_t fileHeader = pe + 4;
    const std::uint32_t sectionCount = Read(image, fileHeader + 2, 2);
    const std::uint32_t optionalSize = Read(image, fileHeader + 16, 2);
    const std::size_t optional = fileHeader + 20;
    const std::uint32_t magic = Read(image, optional, 2);
    // The data directories follow 96 bytes of the PE32 optional header or 112 of PE32+.
    const std::size_t directories = optional + (magic == 0x20B ? 112 : 96);
    const std::uint32_t importRva = Read(image, directories + 8, 4);
    std::vector<Section> sections;
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::size_t header = optional + optionalSize + i * 40;
        const std::uint32_t virtualSize = Read(image, header + 8, 4);
        const std::uint32_t rawSize = Read(image, header + 16, 4);
        sections.push_back(Section{Read(image, header + 12, 4), std::max(virtualSize, rawSize), Read(image, header + 20, 4)});
    }
    std::set<std::string> names;
    if (importRva == 0)
        return names;
    // Descriptors of 20 bytes, ended by one of zeros; the name is the fourth field.
    for (std::size_t descriptor = FileOffset(sections, importRva);; descriptor += 20) {
        const std::uint32_t nameRva = Read(image, descriptor + 12, 4);
        if (nameRva == 0)
            return names;
        const std::size_t name = FileOffset(sections, nameRva);
        const auto end = std::find(image.begin() + static_cast<std::ptrdiff_t>(name), image.end(), '\0');
        names.insert(Lower(std::string(image.begin() + static_cast<std::ptrdiff_t>(name), end)));
    }
}

}  // namespace

TEST(ProgramImports, NoLoadTimeImportOfADllThatIsNoKnownDll)
{
    std::ifstream file(ProgramFolder() + "quillmere.exe", std::ios::binary);
    ASSERT_TRUE(file) << "can't read quillmere.exe";
    const Bytes image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::set<std::string> imports = LoadTimeImports(image);
    // The reading itself is right: these are KnownDLLs the program imports at load time.
    EXPECT_EQ(imports.count("kernel32.dll"), 1u);
    EXPECT_EQ(imports.count("user32.dll"), 1u);
    for (const char* dll : {"comctl32.dll", "netapi32.dll", "dnsapi.dll", "uxtheme.dll"})
        EXPECT_EQ(imports.count(dll), 0u) << dll << " is imported at load time";
}
