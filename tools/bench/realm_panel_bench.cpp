// Benchmark: "Add ->" of thousands of realms on the real main window, and the realm sort, each as
// it is and as it was: the sort read two item texts from the list for every comparison and
// compared copies cut into label lists, and the move deleted every moved item by itself after
// inserting it at its old index. The old ones are kept here only to be measured against.
// Prints figures; never fails on them.
#include "discovery_run.h"
#include "list_item_text.h"
#include "main_window_driver.h"
#include "realm_list.h"
#include "realm_panel.h"
#include "resource_ids.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

namespace {

// The comparison as it was: both texts copied, cut at their dots into label lists, compared from the right.
int OldCompareRealmTexts(std::string first, std::string second)
{
    const bool marked = first.size() > 4 && first[3] == ' ';
    const std::size_t start = marked ? 4 : 0;
    const std::size_t secondStart = std::min(second.size(), start);
    const auto split = [](char* text, std::vector<char*>& labels) {
        for (char* p = text; *p != '\0';) {
            if (*p == '.') {
                *p++ = '\0';
                continue;
            }
            labels.push_back(p);
            while (*p != '\0' && *p != '.')
                ++p;
        }
    };
    std::vector<char*> a;
    std::vector<char*> b;
    split(&first[start], a);
    split(&second[secondStart], b);
    for (;;) {
        if (a.empty())
            return b.empty() ? 0 : -1;
        if (b.empty())
            return 1;
        const char* x = a.back();
        const char* y = b.back();
        const auto folded = [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
        };
        unsigned char cx = 0;
        unsigned char cy = 0;
        do {
            cx = folded(*x++);
            cy = folded(*y++);
        } while (cx == cy && cx != 0);
        if (cx != cy)
            return cx - cy;
        a.pop_back();
        b.pop_back();
    }
}

void OldSortRealmList(HWND list)
{
    const ListItems items = ReadListItems(list);
    std::vector<int> order(items.texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [list](int a, int b) {
        return OldCompareRealmTexts(ReadItemText(list, a), ReadItemText(list, b)) < 0;
    });
    WriteItemsInOrder(list, items, order);
}

// The move of "Add ->" as it was, with the old sort; the default mark, which costs one search,
// is left out.
void OldAddSelectedRealms(HWND mainWindow)
{
    const HWND from = GetDlgItem(mainWindow, IDC_AVAILABLE_LIST);
    const HWND to = GetDlgItem(mainWindow, IDC_SELECTED_LIST);
    const RedrawPause pauseFrom(from);
    const RedrawPause pauseTo(to);
    const auto next = [from](int after) {
        return static_cast<int>(SendMessageA(from, LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
    };
    for (int index = next(-1); index >= 0; index = next(index - 1)) {
        InsertItemText(to, index, "--- " + ReadItemText(from, index));
        SendMessageA(from, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    }
    OldSortRealmList(to);
}

// Forests of 100 realms as the forest writer names them: tree0.test, d1.tree0.test, ft0.test, ...
KdcTable Realms(int count)
{
    KdcTable realms;
    for (int i = 0; i < count; ++i) {
        const std::string root = i < 100 ? "tree0.test" : "ft" + std::to_string(i / 100 - 1) + ".test";
        const std::string realm = i % 100 == 0 ? root : "d" + std::to_string(i % 100) + "." + root;
        realms[realm] = {"dc1." + realm};
    }
    return realms;
}

double Milliseconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// The list in reverse key order, as the discovery run leaves it before sorting.
void FillUnsorted(HWND list, const KdcTable& realms)
{
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (const auto& realm : realms)
        InsertItemText(list, 0, realm.first);
}

double BestSortMs(HWND list, const KdcTable& realms, void (*sort)(HWND), int rounds)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        FillUnsorted(list, realms);
        const RedrawPause pause(list);
        const auto start = std::chrono::steady_clock::now();
        sort(list);
        best = std::min(best, Milliseconds(start));
    }
    return best;
}

// "Add ->" of the realms from index firstMoved to the end of the Available list.
double BestAddMs(const KdcTable& realms, void (*add)(HWND), int firstMoved, int rounds)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        TestMainWindow main(true);
        ShowAvailableRealms(main.window, realms);
        const HWND available = main.Control(IDC_AVAILABLE_LIST);
        LVITEMA chosen = {};
        chosen.stateMask = LVIS_SELECTED;
        chosen.state = LVIS_SELECTED;
        for (int index = firstMoved; index < static_cast<int>(realms.size()); ++index)
            SendMessageA(available, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&chosen));
        const auto start = std::chrono::steady_clock::now();
        add(main.window);
        best = std::min(best, Milliseconds(start));
    }
    return best;
}

}  // namespace

int main()
{
    const int rounds = 3;
    const HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_LIST, 0, 0, 300, 200, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
    if (list == nullptr) {
        std::fprintf(stderr, "realm_panel_bench: no list view\n");
        return 1;
    }
    std::printf("best of %d, in-process, %zu-bit\n", rounds, sizeof(void*) * 8);
    std::printf("%8s %12s %8s %15s %11s %16s %12s\n", "realms", "old sort ms", "sort ms", "old Add all ms",
                "Add all ms", "old Add half ms", "Add half ms");
    for (const int count : {1000, 5000}) {
        const KdcTable realms = Realms(count);
        const double oldSort = BestSortMs(list, realms, OldSortRealmList, rounds);
        const double sort = BestSortMs(list, realms, SortRealmList, rounds);
        const double oldAdd = BestAddMs(realms, OldAddSelectedRealms, 0, rounds);
        const double add = BestAddMs(realms, AddSelectedRealms, 0, rounds);
        const double oldHalf = BestAddMs(realms, OldAddSelectedRealms, count / 2, rounds);
        const double half = BestAddMs(realms, AddSelectedRealms, count / 2, rounds);
        std::printf("%8d %12.1f %8.1f %15.1f %11.1f %16.1f %12.1f\n", count, oldSort, sort, oldAdd, add, oldHalf, half);
    }
    DestroyWindow(list);
    return 0;
}
