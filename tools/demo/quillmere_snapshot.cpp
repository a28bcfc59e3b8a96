// Starts quillmere.exe on a forest file, waits for its discovery, optionally selects and marks
// some realms, saves the main window (or, with --view, the configuration view) as a BMP and
// ends the program through File > Exit.
// Usage: quillmere_snapshot FOREST-FILE OUTPUT.bmp [--mark] [--view]
#include "remote_quillmere.h"
#include "resource_ids.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kBoundMs = 60000;

int Fail(const std::string& message, RemoteQuillmere& program)
{
    std::fprintf(stderr, "quillmere_snapshot: %s\n", message.c_str());
    StopQuillmere(program);
    return 1;
}

int IndexOf(const std::vector<std::string>& texts, const std::string& text)
{
    const auto found = std::find(texts.begin(), texts.end(), text);
    return found == texts.end() ? -1 : static_cast<int>(found - texts.begin());
}

// Selects the items whose realm names are given (texts from index skip on), if present.
void SelectRealms(const RemoteQuillmere& program, HWND list, const std::vector<std::string>& names, std::size_t skip)
{
    std::vector<std::string> texts = RemoteItemTexts(program, list);
    for (std::string& text : texts)
        text = text.size() > skip ? text.substr(skip) : std::string();
    std::vector<int> indexes;
    for (const std::string& name : names) {
        const int index = IndexOf(texts, name);
        if (index >= 0)
            indexes.push_back(index);
    }
    RemoteSelectItems(program, list, indexes);
}

// A click gives the list the focus, so that its selection shows.
void Focus(HWND list)
{
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

// A few realms of the demo forest moved, marked and left selected.
void MarkSomeRealms(const RemoteQuillmere& program)
{
    const HWND available = GetDlgItem(program.mainWindow, IDC_AVAILABLE_LIST);
    const HWND selected = GetDlgItem(program.mainWindow, IDC_SELECTED_LIST);
    SelectRealms(program, available,
                 {"corp.riverton.test", "eu.corp.riverton.test", "lab.ashgrove.test", "oakvale.test"}, 0);
    RemotePressButton(program, IDC_ADD);
    SelectRealms(program, selected, {"corp.riverton.test"}, 4);
    RemotePressButton(program, IDC_DEFAULT_REALM);
    RemotePressButton(program, IDC_CLIENT_REALM);
    SelectRealms(program, selected, {"lab.ashgrove.test", "eu.corp.riverton.test"}, 4);
    RemotePressButton(program, IDC_SERVER_REALM);
    Focus(selected);
    SendMessageTimeoutA(program.mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    SelectRealms(program, selected, {"eu.corp.riverton.test", "oakvale.test"}, 4);
}

bool SaveWindowBitmap(HWND window, const std::string& path)
{
    RECT frame = {};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as every reader takes it
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const auto stride = static_cast<DWORD>((width * 3 + 3) & ~3);
    header.biSizeImage = stride * static_cast<DWORD>(height);

    void* pixels = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &pixels,
                                            nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY) != FALSE;
    GdiFlush();

    bool written = false;
    FILE* file = copied && pixels != nullptr ? std::fopen(path.c_str(), "wb") : nullptr;
    if (file != nullptr) {
        BITMAPFILEHEADER fileHeader = {};
        fileHeader.bfType = 0x4D42;  // "BM"
        fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
        fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;
        written = std::fwrite(&fileHeader, sizeof fileHeader, 1, file) == 1 &&
                  std::fwrite(&header, sizeof header, 1, file) == 1 &&
                  std::fwrite(pixels, header.biSizeImage, 1, file) == 1;
        written = std::fclose(file) == 0 && written;
        if (!written)
            std::remove(path.c_str());
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

// File > View opened on the current selection; null when it does not show within the bound.
HWND OpenConfigView(const RemoteQuillmere& program)
{
    PostMessageA(program.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_FILE_VIEW, 0), 0);
    HWND view = nullptr;
    WaitUntil(program, kBoundMs, [&] {
        view = FindProcessWindow(program, "#32770", "Kerberos Configuration");
        return view != nullptr && IsWindowVisible(view);
    });
    return view;
}

// The view as a reader leaves it for a picture: tall enough for the whole text where the work
// area allows, and scrolled to its top, so that every section shows.
void ShowWholeText(HWND view)
{
    HWND text = GetDlgItem(view, IDC_CONFIG_TEXT);
    const auto lines = static_cast<int>(SendMessageA(text, EM_GETLINECOUNT, 0, 0));
    // EM_POSFROMCHAR packs the position into its result, so it works across processes.
    const auto second = static_cast<WPARAM>(SendMessageA(text, EM_LINEINDEX, 1, 0));
    const int lineHeight = HIWORD(SendMessageA(text, EM_POSFROMCHAR, second, 0)) -
                           HIWORD(SendMessageA(text, EM_POSFROMCHAR, 0, 0));
    RECT window = {}, client = {}, area = {};
    GetWindowRect(view, &window);
    GetClientRect(text, &client);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    if (lines > 1 && lineHeight > 0) {
        const int wanted = (window.bottom - window.top) + (lines + 1) * lineHeight - client.bottom;
        const int height = std::min(wanted, static_cast<int>(area.bottom - area.top));
        SetWindowPos(view, nullptr, window.left, area.top, window.right - window.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageA(text, WM_VSCROLL, SB_TOP, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    bool mark = false;
    bool view = false;
    for (int i = 3; i < argc; ++i) {
        mark = mark || std::strcmp(argv[i], "--mark") == 0;
        view = view || std::strcmp(argv[i], "--view") == 0;
    }
    if (argc < 3 || argc - 3 != int(mark) + int(view)) {
        std::fprintf(stderr, "usage: quillmere_snapshot FOREST-FILE OUTPUT.bmp [--mark] [--view]\n");
        return 2;
    }
    RemoteQuillmere program;
    if (!StartQuillmere(argv[1], program))
        return Fail("quillmere.exe could not be started", program);
    const bool started = WaitUntil(program, kBoundMs, [&] {
        program.mainWindow = FindProcessWindow(program, "QuillmereClass");
        if (program.mainWindow == nullptr)
            return false;
        const std::string log = RemoteWindowText(GetDlgItem(program.mainWindow, IDC_STATUS_LOG));
        return log.find("Found ") != std::string::npos || log.find("Didn't find") != std::string::npos;
    });
    if (!started)
        return Fail("quillmere.exe showed no finished discovery within a minute", program);
    if (mark)
        MarkSomeRealms(program);
    HWND shown = program.mainWindow;
    if (view && (shown = OpenConfigView(program)) == nullptr)
        return Fail("the configuration view did not open within a minute", program);
    if (view)
        ShowWholeText(shown);
    RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    SendMessageTimeoutA(shown, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    if (!SaveWindowBitmap(shown, argv[2]))
        return Fail(std::string("the window could not be saved to ") + argv[2], program);
    if (view)
        PostMessageA(shown, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    PostMessageA(program.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_FILE_EXIT, 0), 0);
    const DWORD code = WaitForExit(program, kBoundMs);
    if (code != 0)
        return Fail("quillmere.exe did not exit cleanly (code " + std::to_string(code) + ")", program);
    StopQuillmere(program);
    return 0;
}
