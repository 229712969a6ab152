// Resource ids of the program's resource scripts (resources/*.rc), shared by the code.
#pragma once

// Menus, accelerators, cursors, bitmaps and icons.
#define IDR_MAIN_CONTEXT_MENU 101
#define IDR_ACCELERATORS 110
#define IDI_BISTROPE 115

// Dialog templates.
#define IDD_ABOUTBOX 114
#define IDD_PROGRESS 116

// Progress dialog items.
#define IDC_PROGRESS_BAR 1004
#define IDC_PROGRESS_TEXT 1005

// About box items.
#define IDC_ABOUT_TEXT 1007
#define IDC_ABOUT_ICON 1008
