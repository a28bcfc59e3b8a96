// quillmere.exe started from a folder that holds a netapi32.dll and a dnsapi.dll, with a current
// folder that holds them too: it loads neither and discovers through the system's DLLs.
#include "remote_quillmere.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStartBoundMs = 60000;
constexpr DWORD kExitBoundMs = 30000;
const char* const kPlantedNames[] = {"netapi32.dll", "dnsapi.dll"};

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A folder emptied of what a former run left, with the planted DLLs in it.
std::string PlantedFolder(const std::string& name)
{
    const std::string folder = ProgramFolder() + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* dll : kPlantedNames) {
        const std::string planted = folder + dll;
        DeleteFileA((planted + ".loaded").c_str());
        EXPECT_TRUE(CopyFileA((ProgramFolder() + "planted\\" + dll).c_str(), planted.c_str(), FALSE))
            << "can't plant " << planted << ": error " << GetLastError();
    }
    return folder;
}

}  // namespace

// Else the test below would prove nothing.
TEST(PlantedDlls, AnnounceThemselvesWhenLoaded)
{
    const std::string folder = PlantedFolder("planted-probe");
    const std::string probe = folder + "probe.dll";
    ASSERT_TRUE(CopyFileA((folder + kPlantedNames[0]).c_str(), probe.c_str(), FALSE));
    DeleteFileA((probe + ".loaded").c_str());
    const HMODULE loaded = LoadLibraryA(probe.c_str());
    ASSERT_NE(loaded, nullptr) << "error " << GetLastError();
    FreeLibrary(loaded);
    EXPECT_TRUE(Exists(probe + ".loaded"));
}

TEST(PlantedDlls, NeitherTheProgramsFolderNorTheCurrentFolderLendsItsDlls)
{
    const std::string programFolder = PlantedFolder("planted-program");
    const std::string currentFolder = PlantedFolder("planted-current");
    const std::string program = programFolder + "quillmere.exe";
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "quillmere.exe").c_str(), program.c_str(), FALSE))
        << "error " << GetLastError();
    const char* forests = std::getenv("QM_TEST_FORESTS");
    RemoteQuillmere remote;
    ASSERT_TRUE(StartQuillmereAt(program, currentFolder, std::string(forests != nullptr ? forests : ".") +
                                                             "/small-forest.json", remote))
        << "error " << GetLastError();
    ASSERT_TRUE(WaitUntil(remote, kStartBoundMs, [&] {
        remote.mainWindow = FindProcessWindow(remote, "QuillmereClass");
        return remote.mainWindow != nullptr &&
               RemoteWindowText(GetDlgItem(remote.mainWindow, IDC_STATUS_LOG)).find("Info: Found 3 realms.") !=
                   std::string::npos;
    })) << "the discovery through the system's DLLs did not finish";
    PostMessageA(remote.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_FILE_EXIT, 0), 0);
    EXPECT_EQ(WaitForExit(remote, kExitBoundMs), 0u);
    StopQuillmere(remote);
    for (const std::string& folder : {programFolder, currentFolder})
        for (const char* dll : kPlantedNames)
            EXPECT_FALSE(Exists(folder + dll + ".loaded")) << folder << dll << " was loaded";
}
