// Opens one dialog for a screenshot and holds it until told to stop: the chooser, the about box or the main window grown by half.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "about_box.h"
#include "enctype_chooser.h"
#include "main_window.h"
#include "resource_ids.h"

namespace {

struct Showcase {
    HWND main = nullptr;
    std::string readyFile;
    std::string stopFile;
    bool announced = false;
    ULONGLONG deadline = 0;
};

Showcase showcase;

BOOL CALLBACK FindShownDialog(HWND window, LPARAM found)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The modal dialog on show, or the main window when there is none.
HWND Subject()
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&dialog));
    return dialog != nullptr ? dialog : showcase.main;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes "width height x y" of the subject's outer rectangle once it has painted.
void Announce(HWND subject)
{
    RedrawWindow(subject, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(subject, &r);
    std::string temporary = showcase.readyFile + ".part";
    if (FILE* file = std::fopen(temporary.c_str(), "w")) {
        std::fprintf(file, "%ld %ld %ld %ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        std::fclose(file);
        MoveFileA(temporary.c_str(), showcase.readyFile.c_str());
    }
    showcase.announced = true;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND subject = Subject();
    if (!showcase.announced) {
        Announce(subject);
        return;
    }
    if (!Exists(showcase.stopFile) && GetTickCount64() < showcase.deadline)
        return;
    if (subject != showcase.main)
        EndDialog(subject, IDCANCEL);
    else
        PostQuitMessage(0);
}

void RunUntilStopped()
{
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: dialog_showcase chooser|about|main READY-FILE STOP-FILE\n");
        return 2;
    }
    const std::string mode = argv[1];
    showcase.readyFile = argv[2];
    showcase.stopFile = argv[3];
    showcase.deadline = GetTickCount64() + 60000;

    HINSTANCE instance = GetModuleHandleA(nullptr);
    showcase.main = CreateMainWindow(instance);
    if (showcase.main == nullptr) {
        std::fprintf(stderr, "dialog_showcase: the main window could not be created\n");
        return 1;
    }
    SetWindowPos(showcase.main, nullptr, 16, 16, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(showcase.main, SW_SHOWNORMAL);
    UpdateWindow(showcase.main);
    SetTimer(nullptr, 0, 200, Tick);

    if (mode == "chooser") {
        SetDlgItemTextA(showcase.main, IDC_TGS_ENCTYPES, "aes256-cts-hmac-sha1-96, aes128-cts-hmac-sha1-96, rc4-hmac");
        OpenEncTypeChooser(showcase.main, IDC_TGS_ENCTYPES);
    } else if (mode == "about") {
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), showcase.main, AboutDialogProc, 0);
    } else if (mode == "main") {
        RECT r{};
        GetWindowRect(showcase.main, &r);
        SetWindowPos(showcase.main, nullptr, 0, 0, (r.right - r.left) * 3 / 2, (r.bottom - r.top) * 3 / 2,
                     SWP_NOMOVE | SWP_NOZORDER);
        RunUntilStopped();
    } else {
        std::fprintf(stderr, "dialog_showcase: unknown mode %s\n", mode.c_str());
        return 2;
    }
    DestroyWindow(showcase.main);
    return 0;
}
