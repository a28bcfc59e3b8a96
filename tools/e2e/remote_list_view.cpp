// List-view requests to another process through a block of that process's memory.
#include "remote_list_view.h"

#include "bounded_wait.h"
#include "program_windows.h"

#include <commctrl.h>

namespace {

constexpr int kTextCapacity = 260;

// One LVITEMA followed by its text buffer, in the program's address space; released on scope exit.
struct RemoteItemBlock {
    HANDLE process = nullptr;
    char* address = nullptr;

    explicit RemoteItemBlock(HANDLE owner)
        : process(owner),
          address(static_cast<char*>(VirtualAllocEx(owner, nullptr, sizeof(LVITEMA) + kTextCapacity,
                                                    MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)))
    {
    }
    ~RemoteItemBlock()
    {
        if (address != nullptr)
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
    }
    RemoteItemBlock(const RemoteItemBlock&) = delete;
    RemoteItemBlock& operator=(const RemoteItemBlock&) = delete;

    char* Text() const { return address + sizeof(LVITEMA); }
};

bool Allocated(const RemoteItemBlock& block, std::string& error)
{
    if (block.address != nullptr)
        return true;
    error = "can't allocate memory in quillmere.exe (error " + std::to_string(GetLastError()) + ")";
    return false;
}

bool Write(HANDLE process, void* to, const void* from, SIZE_T size, std::string& error)
{
    SIZE_T done = 0;
    if (WriteProcessMemory(process, to, from, size, &done) && done == size)
        return true;
    error = "can't write to quillmere.exe's memory (error " + std::to_string(GetLastError()) + ")";
    return false;
}

bool Read(HANDLE process, const void* from, void* to, SIZE_T size, std::string& error)
{
    SIZE_T done = 0;
    if (ReadProcessMemory(process, from, to, size, &done) && done == size)
        return true;
    error = "can't read quillmere.exe's memory (error " + std::to_string(GetLastError()) + ")";
    return false;
}

LPARAM AsLParam(const void* address)
{
    return reinterpret_cast<LPARAM>(address);
}

bool ReadOneText(const RemoteList& target, const RemoteItemBlock& block, int index, std::string& text,
                 std::string& error)
{
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = block.Text();
    item.cchTextMax = kTextCapacity;
    if (!Write(target.process, block.address, &item, sizeof item, error))
        return false;
    LRESULT length = 0;
    if (!SendBounded(target.list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), AsLParam(block.address),
                     target.boundMs, length, error, "LVM_GETITEMTEXTA"))
        return false;
    // The control may point pszText at its own copy instead of filling the buffer.
    LVITEMA answered = {};
    if (!Read(target.process, block.address, &answered, sizeof answered, error))
        return false;
    const SIZE_T size = length < 0 ? 0 : static_cast<SIZE_T>(length < kTextCapacity ? length : kTextCapacity - 1);
    text.assign(size, '\0');
    return (size == 0 || Read(target.process, answered.pszText, &text[0], size, error)) && ToScenarioText(text, error);
}

}  // namespace

bool CheckSameArchitecture(HANDLE process, std::string& error)
{
    BOOL programOnWow64 = FALSE;
    BOOL driverOnWow64 = FALSE;
    if (!IsWow64Process(process, &programOnWow64) || !IsWow64Process(GetCurrentProcess(), &driverOnWow64)) {
        error = "can't tell the architecture of quillmere.exe (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    if (programOnWow64 == driverOnWow64)
        return true;
    error = "quillmere.exe and this driver are built for different architectures; use the driver built with the program";
    return false;
}

bool ReadItemCount(const RemoteList& target, int& count, std::string& error)
{
    LRESULT result = 0;
    if (!SendBounded(target.list, LVM_GETITEMCOUNT, 0, 0, target.boundMs, result, error, "LVM_GETITEMCOUNT"))
        return false;
    count = static_cast<int>(result);
    return true;
}

bool ReadItemTexts(const RemoteList& target, std::vector<std::string>& texts, std::string& error)
{
    texts.clear();
    int count = 0;
    if (!ReadItemCount(target, count, error))
        return false;
    const RemoteItemBlock block(target.process);
    if (!Allocated(block, error))
        return false;
    for (int i = 0; i < count; ++i) {
        std::string text;
        if (!ReadOneText(target, block, i, text, error))
            return false;
        texts.push_back(text);
    }
    return true;
}

bool ReadItemState(const RemoteList& target, int index, UINT mask, UINT& state, std::string& error)
{
    LRESULT result = 0;
    if (!SendBounded(target.list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), static_cast<LPARAM>(mask),
                     target.boundMs, result, error, "LVM_GETITEMSTATE"))
        return false;
    state = static_cast<UINT>(result);
    return true;
}

namespace {

bool WriteStateThrough(const RemoteList& target, const RemoteItemBlock& block, int index, UINT state, UINT mask,
                       std::string& error)
{
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    if (!Write(target.process, block.address, &item, sizeof item, error))
        return false;
    LRESULT result = 0;
    if (!SendBounded(target.list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), AsLParam(block.address),
                     target.boundMs, result, error, "LVM_SETITEMSTATE"))
        return false;
    if (result != 0)
        return true;
    error = "the list view refused the state of item " + std::to_string(index);
    return false;
}

}  // namespace

bool WriteItemState(const RemoteList& target, int index, UINT state, UINT mask, std::string& error)
{
    const RemoteItemBlock block(target.process);
    return Allocated(block, error) && WriteStateThrough(target, block, index, state, mask, error);
}

bool SelectItems(const RemoteList& target, const std::vector<int>& indexes, std::string& error)
{
    const RemoteItemBlock block(target.process);
    if (!Allocated(block, error) || !WriteStateThrough(target, block, -1, 0, LVIS_SELECTED, error))
        return false;
    for (const int index : indexes) {
        if (!WriteStateThrough(target, block, index, LVIS_SELECTED, LVIS_SELECTED, error))
            return false;
    }
    return true;
}
