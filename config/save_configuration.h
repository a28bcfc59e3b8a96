// File > Save: the generated configuration written to a file the user names.
#ifndef QUILLMERE_SAVE_CONFIGURATION_H
#define QUILLMERE_SAVE_CONFIGURATION_H

#include <windows.h>

#include <string>

// The file write and replacement that Save uses; tests replace them to meet what real files
// rarely do.
struct SaveFileSystem {
    BOOL(WINAPI* writeFile)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
    BOOL(WINAPI* replaceFile)(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID exclude,
                              LPVOID reserved);
};
extern SaveFileSystem saveFileSystem;  // {WriteFile, ReplaceFileA}

// Asks for the file to write, owned by the main window; false when nothing is to be written.
using AskTargetPath = bool (*)(HWND mainWindow, std::string& path);

// The standard Save As dialog: "krb5.conf" proposed, the filters "Kerberos configuration
// (*.conf; *.ini)" and "All files", ".conf" added to a name typed without an extension.
bool AskSaveAsPath(HWND mainWindow, std::string& path);

// Writes the text the view shows, with LF line ends and converted from the ANSI code page to
// UTF-8 (pure ASCII byte for byte), to a temporary file that then takes the target's place in
// one step. An existing target keeps its identity (security, creation time, attributes); on
// failure the target is whole at its name, no temporary file is left and a message box says
// why. A success is logged.
void SaveConfigurationWith(HWND mainWindow, AskTargetPath askTargetPath);

// The IDM_FILE_SAVE command.
void SaveConfiguration(HWND mainWindow);

#endif
