// The layout rules of the main window.
#include "main_window_layout.h"

#include <new>

#include "resizer.h"
#include "resource_ids.h"

namespace {

void BuildMainDialogRules(Resizer& resizer, HWND dialog)
{
    auto item = [dialog](int id) { return GetDlgItem(dialog, id); };
    // The two lists are equally wide, so each takes half of the width growth.
    const DistributionEntry row[] = {
        {item(IDC_AVAILABLE_LIST), 1},
        {item(IDC_ADD), 0},
        {item(IDC_REMOVE), 0},
        {item(IDC_SELECTED_LIST), 1},
    };
    DistributeWidth(resizer, row, sizeof row / sizeof row[0]);
    // The family boxes stay beside the forwardable buttons: automatic rules would send those
    // right of the middle to the right edge and stretch the label between.
    const DistributionEntry families[] = {
        {item(IDC_CLIENTS_LABEL), 0},
        {item(IDC_MIT_CLIENTS), 0},
        {item(IDC_HEIMDAL_CLIENTS), 0},
        {item(IDC_JAVA_CLIENTS), 0},
    };
    DistributeWidth(resizer, families, sizeof families / sizeof families[0]);
    const HWND selectedLabel[] = {item(IDC_SELECTED_LABEL)};
    FollowLeftEdge(resizer, item(IDC_SELECTED_LIST), selectedLabel, 1);
    // All extra height goes to the log; these would otherwise drift with the split line.
    const DistributionEntry column[] = {
        {item(IDC_AVAILABLE_LIST), 0}, {item(IDC_TGS_ENCTYPES), 0},      {item(IDC_TKT_ENCTYPES), 0},
        {item(IDC_LIBDEFAULTS_GROUP), 0}, {item(IDC_TKT_LABEL), 0},      {item(IDC_TKT_CHOOSE), 0},
        {item(IDC_FORWARDABLE_LABEL), 0}, {item(IDC_FORWARDABLE_TRUE), 0}, {item(IDC_FORWARDABLE_FALSE), 0},
        {item(IDC_FORWARDABLE_NOT_SET), 0},
        {item(IDC_CLIENTS_LABEL), 0},     {item(IDC_MIT_CLIENTS), 0},      {item(IDC_HEIMDAL_CLIENTS), 0},
        {item(IDC_JAVA_CLIENTS), 0},
        {item(IDC_STATUS_LOG), 1},
    };
    DistributeHeight(resizer, column, sizeof column / sizeof column[0]);
}

}  // namespace

void SetUpMainDialogLayout(HWND dialog)
{
    Resizer* resizer = AttachNewResizer(dialog);
    if (resizer == nullptr)
        return;
    // Without memory for the rules the controls keep the automatic ones.
    try {
        BuildMainDialogRules(*resizer, dialog);
    } catch (const std::bad_alloc&) {
    }
}
