// The "Encryption Types" dialog (IDD_ENCTYPES) that edits one enctype edit of the main window.
#ifndef QUILLMERE_ENCTYPE_CHOOSER_H
#define QUILLMERE_ENCTYPE_CHOOSER_H

#include <windows.h>

#include "enctype_buffer.h"

// The property of the owner window that hands the EncTypeBuffer to the dialog.
extern const char kEncTypeBufferProperty[];

// Runs the chooser on edit `editId` of `mainWindow`; the edit changes only on OK.
void OpenEncTypeChooser(HWND mainWindow, int editId);

INT_PTR CALLBACK EncTypeChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills IDC_ENCTYPE_LIST with the eight names, ticking those named in the buffer's text.
void FillEncTypeList(EncTypeBuffer* buffer, HWND dialog);

// Rewrites the buffer with the ticked names in displayed order, joined by ", ".
void CollectEncTypes(EncTypeBuffer* buffer, HWND dialog);

#endif
