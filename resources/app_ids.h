/* Resource and command ids of the application's own resources: the cursors, the settings
 * pages, the rebar bitmaps and the commands of the context menu and accelerator table.
 *
 * Read by the resource compiler and by C++ code alike, so only #define lines live here.
 * Each resource type is defined in exactly one .rc file of this folder; the resource compiler
 * numbers icon and cursor images per file from 1, so every ICON statement stays in app.rc and
 * every CURSOR statement in cursors.rc (a second file with either would clash at link time).
 */
#ifndef BISTROPE_RESOURCES_APP_IDS_H
#define BISTROPE_RESOURCES_APP_IDS_H

/* The menu (101: its first submenu is the stereo view's context menu), the accelerator table
 * (110), the icon (115) and the progress and about dialogs. */
#include "resource.h"

/* View cursors, 32 x 32 (cursors.rc). */
#define IDC_CUR_PAN_VIEW 102         /* open hand, hotspot (15, 15) */
#define IDC_CUR_PAN_VIEW_DRAG 103    /* closed hand, (15, 15) */
#define IDC_CUR_ZOOM_VIEW 104        /* magnifier, (10, 10) */
#define IDC_CUR_PAN_LEFT 105         /* four-way arrow, (16, 15) */
#define IDC_CUR_PAN_LEFT_DRAG 106    /* four-way arrow, lighter, (16, 15) */
#define IDC_CUR_ZOOM_VIEW_DRAG 107   /* magnifier with an up-and-down arrow, (10, 10) */
#define IDC_CUR_ROTATE_LEFT 108      /* curved arrow, (15, 15) */
#define IDC_CUR_ROTATE_LEFT_DRAG 109 /* curved arrow, lighter, (16, 15) */

/* Settings pages, 234 x 126 dialog units each (settings_pages.rc). */
#define IDD_PAGE_OUTPUT 111   /* "Output settings" */
#define IDD_PAGE_BLENDING 112 /* "Custom colour blending" */
#define IDD_PAGE_ADVANCED 117 /* "Advanced settings" */

/* Rebar background, 32 x 48 each (app.rc). */
#define IDB_REBAR_LEFT 118
#define IDB_REBAR_RIGHT 119
#define IDB_REBAR_MIDDLE 120

/* Controls of the settings pages. */
#define IDC_QUALITY_EDIT 1002      /* page 111: read-only number beside the trackbar */
#define IDC_QUALITY_TRACKBAR 1003  /* page 111 */
#define IDC_AUTO_ALIGN_CHECK 1004  /* page 111: "Align the eyes automatically once both are loaded" */
#define IDC_MATRIX_FIRST 1002      /* page 112: left block 1002 + 3c + r, right block 1011 + 3c + r */
#define IDC_MATRIX_LAST 1019
#define IDC_TEXSIZE_EDIT 1002      /* page 117 */
#define IDC_TEXSIZE_RESET 1006     /* page 117: "reset" */
#define IDC_TEXSIZE_EXPLAIN 1007   /* page 117: explanation with the hardware limit */

/* Commands. */
#define ID_BLEND_MONOCHROMATIC 40001
#define ID_BLEND_FULL_COLOUR 40002
#define ID_BLEND_HALF_COLOUR 40003
#define ID_BLEND_OPTIMISED_COLOUR 40004
#define ID_BLEND_CUSTOM_COLOUR 40005
#define ID_PAN_VIEW 40006
#define ID_ZOOM_VIEW 40007
#define ID_PAN_LEFT 40008
#define ID_ROTATE_LEFT 40009
#define ID_SETTINGS 40011
#define ID_SAVE 40012
#define ID_ABOUT 40013
#define ID_ZOOM_ALL 40014
#define ID_RESET_ALIGNMENT 40015
#define ID_LOAD_LEFT 40017
#define ID_LOAD_RIGHT 40018
#define ID_SWAP_EYES 40019
#define ID_AUTO_ALIGN 40020
/* Keyboard steps of the left image: 1 source pixel left, right, up, down (the arrow keys),
 * then 10 pixels (with Shift); turns of 0.05 degrees anticlockwise and clockwise (Page Up,
 * Page Down), then 0.5 degrees (with Shift). */
#define ID_NUDGE_FIRST 40021
#define ID_NUDGE_LAST 40032

#endif
