#pragma once
// The Windows API for the host's own files, included after every other
// header: its macros (CreateWindow, near, far, ...) would rename what they meet.

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <uxtheme.h>
#include <windowsx.h>

#undef CreateWindow
#undef near
#undef far
