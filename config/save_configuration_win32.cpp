// Saving the configuration: the Save As dialog, the temporary file and the one-step replacement.
#include "save_configuration.h"

#include "dialog_state.h"
#include "status_log.h"
#include "system_error_text.h"
#include "utf8_text.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

struct Failure {
    std::string what;  // the program's own sentence
    DWORD code = 0;    // the system's error code; 0 when the system reported none
};

// The system's text only where the system gave a reason: its "success" text after a failure
// would be a lie.
void ShowFailure(HWND mainWindow, const std::string& path, const Failure& failure)
{
    std::string text = "The configuration was not saved to " + path + ".\r\n" + failure.what;
    if (failure.code != 0)
        text += "\r\n\r\n" + SystemErrorText(static_cast<std::uint32_t>(failure.code));
    MessageBoxA(mainWindow, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of("\\/");
    if (separator == std::string::npos)
        return ".";
    // "C:\krb5.conf" lives in "C:\", not in the drive's current folder "C:".
    return path.substr(0, separator == 2 && path[1] == ':' ? separator + 1 : separator);
}

// Writes the whole text; false with the failure's own sentence and the system's code, which is
// 0 when a write reported success but took nothing (it would never end the loop).
bool WriteAll(HANDLE file, const std::string& text, const std::string& cannotWrite, Failure& failure)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - written, 1u << 20));
        DWORD done = 0;
        if (!saveFileSystem.writeFile(file, text.data() + written, chunk, &done, nullptr)) {
            failure = {cannotWrite, GetLastError()};
            return false;
        }
        if (done == 0) {
            failure = {cannotWrite + " The system took none of the last " + std::to_string(text.size() - written) +
                           " bytes and gave no reason.",
                       0};
            return false;
        }
        written += done;
    }
    if (!FlushFileBuffers(file)) {
        failure = {cannotWrite, GetLastError()};
        return false;
    }
    return true;
}

// Records why, and removes the temporary file: nothing half-written stays behind.
bool Abandon(const char* temporary, const std::string& what, DWORD code, Failure& failure)
{
    failure = {what, code};
    DeleteFileA(temporary);
    return false;
}

std::string CannotReplace(const std::string& path)
{
    return "Could not replace " + path + " with the new file.";
}

bool IsExistingFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The new file takes an existing one's place through ReplaceFileA, which keeps what makes the
// file the one an administrator set up: its security, creation time, attributes, short name.
// The old file waits under a backup name meanwhile: without one, a failure to move the new file
// in (ERROR_UNABLE_TO_MOVE_REPLACEMENT) would leave the old one deleted.
bool ReplaceExistingFile(const std::string& path, const char* temporary, Failure& failure)
{
    const std::string cannotReplace = CannotReplace(path);
    char backup[MAX_PATH] = {};
    if (GetTempFileNameA(FolderOf(path).c_str(), "qm", 0, backup) == 0)
        return Abandon(temporary, cannotReplace, GetLastError(), failure);
    // GetTempFileNameA made an empty file to hold the name; ReplaceFileA is given it free.
    DeleteFileA(backup);
    if (saveFileSystem.replaceFile(path.c_str(), temporary, backup, 0, nullptr, nullptr)) {
        if (!DeleteFileA(backup))
            LogWarning("The replaced " + path + " is left as " + backup + ": it could not be removed.");
        return true;
    }
    const DWORD code = GetLastError();
    // The other documented failures leave the old file at its name and no backup.
    if (GetFileAttributesA(backup) == INVALID_FILE_ATTRIBUTES)
        return Abandon(temporary, cannotReplace, code, failure);
    // ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the old file is at the backup name, and the new one,
    // still at its own, has taken the old one's attributes, read-only perhaps.
    SetFileAttributesA(temporary, FILE_ATTRIBUTE_NORMAL);
    if (MoveFileExA(backup, path.c_str(), MOVEFILE_WRITE_THROUGH))
        return Abandon(temporary,
                       cannotReplace + " The system set the old file aside but could not move the new one in;"
                                       " the old file is back in its place.",
                       0, failure);
    const std::string keptAs = " The old file was set aside and could not be put back: it is " + std::string(backup);
    return Abandon(temporary, cannotReplace + keptAs + ".", GetLastError(), failure);
}

// The text goes to a new file beside the target, which then takes the target's place; the
// target is never opened for writing, so it is either the old file or the whole new one.
bool ReplaceWithText(const std::string& path, const std::string& text, Failure& failure)
{
    const std::string folder = FolderOf(path);
    const std::string cannotCreate = "Could not create a temporary file in " + folder + ".";
    char temporary[MAX_PATH] = {};
    if (GetTempFileNameA(folder.c_str(), "qm", 0, temporary) == 0) {
        failure = {cannotCreate, GetLastError()};
        return false;
    }
    // Windows has created the file by now; Wine may hand out the name of a file it could not
    // create, so the name is opened with CREATE_ALWAYS, not TRUNCATE_EXISTING.
    const HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Abandon(temporary, cannotCreate, GetLastError(), failure);
    const std::string cannotWrite = "Could not write the temporary file " + std::string(temporary) + ".";
    Failure writeFailure;
    const bool written = WriteAll(file, text, cannotWrite, writeFailure);
    const bool closed = CloseHandle(file) != FALSE;
    if (!written)
        return Abandon(temporary, writeFailure.what, writeFailure.code, failure);
    if (!closed)
        return Abandon(temporary, cannotWrite, GetLastError(), failure);
    if (IsExistingFile(path))
        return ReplaceExistingFile(path, temporary, failure);
    // No file there, or a folder, which the move refuses.
    if (!MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Abandon(temporary, CannotReplace(path), GetLastError(), failure);
    return true;
}

}  // namespace

SaveFileSystem saveFileSystem{WriteFile, ReplaceFileA};

bool AskSaveAsPath(HWND mainWindow, std::string& path)
{
    char file[MAX_PATH] = "krb5.conf";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainWindow;
    dialog.lpstrFilter = "Kerberos configuration (*.conf; *.ini)\0*.conf;*.ini\0All files\0*.*\0";
    dialog.nFilterIndex = 1;
    // A name typed without an extension gets ".conf".
    dialog.lpstrDefExt = "conf";
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = "Save Configuration";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&dialog)) {
        // Zero: the user cancelled. Anything else: the dialog itself failed.
        const DWORD error = CommDlgExtendedError();
        if (error != 0) {
            const std::string text = "The Save As dialog could not be shown (common dialog error " +
                                     std::to_string(error) + ").";
            MessageBoxA(mainWindow, text.c_str(), "Error", MB_OK | MB_ICONERROR);
        }
        return false;
    }
    path = file;
    return true;
}

void SaveConfigurationWith(HWND mainWindow, AskTargetPath askTargetPath)
{
    std::string path;
    if (!askTargetPath(mainWindow, path))
        return;
    Failure failure;
    // Kerberos clients on Linux and Java read krb5.conf as UTF-8; the view shows the ANSI text.
    std::string text;
    unsigned long conversionError = 0;
    try {
        if (!Utf8FromAnsi(GeneratedConfigText(mainWindow), text, conversionError)) {
            ShowFailure(mainWindow, path, {"Could not convert the configuration to UTF-8.", conversionError});
            return;
        }
    } catch (const std::bad_alloc&) {
        // Nothing has been written yet: the target and its folder are as they were.
        ShowFailure(mainWindow, path,
                    {"There is not enough memory to generate the configuration.", ERROR_NOT_ENOUGH_MEMORY});
        return;
    }
    if (!ReplaceWithText(path, text, failure)) {
        ShowFailure(mainWindow, path, failure);
        return;
    }
    LogInfo("Saved the configuration to " + path + ".");
}

void SaveConfiguration(HWND mainWindow)
{
    SaveConfigurationWith(mainWindow, AskSaveAsPath);
}
