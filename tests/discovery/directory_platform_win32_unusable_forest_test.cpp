// The Windows directory record against the simulated DLLs when the forest file can't be used
// (missing, not JSON, or JSON of the wrong shape): one message, and every call fails with 13.
// QUILLMERE_TEST_REASON holds the words the message must give for the file at hand.
#include "directory_platform_win32.h"
#include "directory_platform_win32_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

// What the calls write to standard error, caught in a pipe.
struct StandardErrorCapture {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    HANDLE saved = nullptr;
};

bool StartCapture(StandardErrorCapture& capture)
{
    if (!CreatePipe(&capture.readEnd, &capture.writeEnd, nullptr, 1 << 16))
        return false;
    capture.saved = GetStdHandle(STD_ERROR_HANDLE);
    return SetStdHandle(STD_ERROR_HANDLE, capture.writeEnd) != 0;
}

std::string EndCapture(StandardErrorCapture& capture)
{
    SetStdHandle(STD_ERROR_HANDLE, capture.saved);
    CloseHandle(capture.writeEnd);
    std::string text;
    char chunk[512];
    DWORD read = 0;
    while (ReadFile(capture.readEnd, chunk, sizeof chunk, &read, nullptr) && read != 0)
        text.append(chunk, read);
    CloseHandle(capture.readEnd);
    return text;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

// One test, because the DLLs read the forest at the first call of the process.
TEST(UnusableForestFile, EveryCallFailsWith13AfterOneMessage)
{
    StandardErrorCapture capture;
    ASSERT_TRUE(StartCapture(capture));
    ClearCalls();
    const DirectoryPlatform platform = WindowsDirectoryPlatform();
    const std::string server = "dc1.corp.riverton.test";
    for (int round = 0; round < 2; ++round) {
        const DcNameAnswer location = platform.getDcName(platform.context);
        EXPECT_EQ(location.status, 13u);
        EXPECT_FALSE(location.domainName);
        const DnsAnswer query = platform.querySrv(platform.context, "_kerberos._tcp.corp.riverton.test");
        EXPECT_EQ(query.status, 13);
        EXPECT_TRUE(query.records.empty());
        EXPECT_EQ(platform.enumerateTrusts(platform.context, &server, kTrustEnumerationFlags).status, 13u);
        EXPECT_EQ(platform.enumerateTrusts(platform.context, nullptr, kTrustEnumerationFlags).status, 13u);
    }
    const std::string message = EndCapture(capture);

    // Both DLLs meet the fault; the process is told once.
    EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
    EXPECT_EQ(message.rfind("Quillmere simulated directory: ", 0), 0u) << message;
    EXPECT_NE(message.find(Environment("QUILLMERE_SIMDIR")), std::string::npos) << message;
    EXPECT_NE(message.find(Environment("QUILLMERE_TEST_REASON")), std::string::npos) << message;
    EXPECT_NE(message.find("fails with status 13."), std::string::npos) << message;

    const std::vector<CallLogEntry> calls = ReadCalls();
    EXPECT_EQ(calls.size(), 8u);
    for (const CallLogEntry& call : calls) {
        EXPECT_EQ(call.status, "13") << call.function;
        EXPECT_EQ(call.buffer, "-") << call.function;
    }
}
