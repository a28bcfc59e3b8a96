// The generation over the main window's own controls.
#ifndef QUILLMERE_DIALOG_STATE_H
#define QUILLMERE_DIALOG_STATE_H

#include "config_generation.h"
#include "config_text_writer.h"

#include <windows.h>

#include <cstddef>
#include <string>

// IDC_SELECTED_LIST, IDC_TGS_ENCTYPES, IDC_TKT_ENCTYPES, IDC_FORWARDABLE_TRUE,
// IDC_FORWARDABLE_FALSE and the client family boxes, read as they are.
DialogState ReadDialogState(HWND mainWindow);

// Writes the configuration for the main window's current state and the realm directory; returns
// how many routes Heimdal clients can take only with referrals.
std::size_t GenerateConfig(HWND mainWindow, const ConfigTextWriter& writer);

// The whole text GenerateConfig writes, with LF line ends, and a warning in the status log when
// some routes need referrals for Heimdal. Throws std::bad_alloc when there is not enough memory
// for all of it.
std::string GeneratedConfigText(HWND mainWindow);

#endif
