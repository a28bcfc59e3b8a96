// Steps on the main window's geometry: resizing it and reading where its controls went.
#include "steps.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct ResizeRequest {
    HWND window;
    int width;
    int height;
};

// SetWindowPos on another process's window waits for that process; a thread of its own keeps
// the wait bounded.
DWORD WINAPI ResizeOnOwnThread(LPVOID parameter)
{
    const auto* request = static_cast<const ResizeRequest*>(parameter);
    SetWindowPos(request->window, nullptr, 0, 0, request->width, request->height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

struct ChildRects {
    HWND parent;
    std::map<int, RECT>* rects;
};

BOOL CALLBACK CollectChildRect(HWND child, LPARAM parameter)
{
    const auto* collect = reinterpret_cast<const ChildRects*>(parameter);
    if (GetParent(child) != collect->parent)
        return TRUE;
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, collect->parent, reinterpret_cast<POINT*>(&rect), 2);
    (*collect->rects)[GetDlgCtrlID(child)] = rect;
    return TRUE;
}

void ReadGeometry(HWND window, std::map<int, RECT>& rects, SIZE& size)
{
    rects.clear();
    ChildRects collect{window, &rects};
    EnumChildWindows(window, &CollectChildRect, reinterpret_cast<LPARAM>(&collect));
    RECT outer = {};
    GetWindowRect(window, &outer);
    size.cx = outer.right - outer.left;
    size.cy = outer.bottom - outer.top;
}

bool ParseInteger(const std::string& text, long& value, std::string& error)
{
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && *end == '\0')
        return true;
    error = "\"" + text + "\" is not a whole number";
    return false;
}

bool ParseIntegers(const ScenarioStep& step, std::vector<long>& values, std::string& error)
{
    values.clear();
    for (const std::string& arg : step.args) {
        long value = 0;
        if (!ParseInteger(arg, value, error))
            return false;
        values.push_back(value);
    }
    return true;
}

bool RequireResize(const DriverSession& session, std::string& error)
{
    if (!session.rectsAfter.empty())
        return true;
    error = "no resize step came before";
    return false;
}

}  // namespace

bool StepResize(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::vector<long> growth;
    if (!RequireArgumentCount(step, 2, 2, error) || !ParseIntegers(step, growth, error) ||
        !WaitUntilReady(session, error))
        return false;
    ReadGeometry(session.target.mainWindow, session.rectsBefore, session.sizeBefore);
    auto* request = new ResizeRequest{session.target.mainWindow, static_cast<int>(session.sizeBefore.cx + growth[0]),
                                      static_cast<int>(session.sizeBefore.cy + growth[1])};
    const HANDLE thread = CreateThread(nullptr, 0, &ResizeOnOwnThread, request, 0, nullptr);
    if (thread == nullptr) {
        delete request;
        error = "can't start the resizing thread (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    const bool done = WaitForSingleObject(thread, session.boundMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (!done) {
        // The thread may still read the request; the process ends soon after a failed step.
        error = "the main window did not take its new size within " + std::to_string(session.boundMs) + " ms";
        return false;
    }
    delete request;
    ReadGeometry(session.target.mainWindow, session.rectsAfter, session.sizeAfter);
    return true;
}

bool StepRects(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    if (!RequireArgumentCount(step, 0, 0, error) || !WaitUntilReady(session, error))
        return false;
    std::map<int, RECT> rects;
    SIZE size = {};
    ReadGeometry(session.target.mainWindow, rects, size);
    std::printf("  main window: %ld x %ld\n", static_cast<long>(size.cx), static_cast<long>(size.cy));
    for (const auto& entry : rects) {
        const RECT& r = entry.second;
        std::printf("  control %d: left %ld, top %ld, right %ld, bottom %ld\n", entry.first, static_cast<long>(r.left),
                    static_cast<long>(r.top), static_cast<long>(r.right), static_cast<long>(r.bottom));
    }
    return true;
}

bool StepExpectMoved(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::vector<long> values;
    if (!RequireArgumentCount(step, 5, 5, error) || !ParseIntegers(step, values, error) || !RequireResize(session, error))
        return false;
    const int id = static_cast<int>(values[0]);
    const auto before = session.rectsBefore.find(id);
    const auto after = session.rectsAfter.find(id);
    if (before == session.rectsBefore.end() || after == session.rectsAfter.end()) {
        error = "the main window has no control " + std::to_string(id);
        return false;
    }
    const long moved[4] = {after->second.left - before->second.left, after->second.top - before->second.top,
                           after->second.right - before->second.right, after->second.bottom - before->second.bottom};
    if (moved[0] == values[1] && moved[1] == values[2] && moved[2] == values[3] && moved[3] == values[4])
        return true;
    char text[160];
    std::snprintf(text, sizeof text, "control %d moved its left, top, right, bottom edges by %ld %ld %ld %ld", id,
                  moved[0], moved[1], moved[2], moved[3]);
    error = text;
    return false;
}

bool StepExpectGrown(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::vector<long> values;
    if (!RequireArgumentCount(step, 2, 2, error) || !ParseIntegers(step, values, error) || !RequireResize(session, error))
        return false;
    const long grownX = session.sizeAfter.cx - session.sizeBefore.cx;
    const long grownY = session.sizeAfter.cy - session.sizeBefore.cy;
    if (grownX == values[0] && grownY == values[1])
        return true;
    error = "the main window grew by " + std::to_string(grownX) + " x " + std::to_string(grownY);
    return false;
}
