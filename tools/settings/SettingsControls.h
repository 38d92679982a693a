/* The settings dialog and the fixed ids of its controls. Shared by the dialog's
   resource script, its code and the tests that drive it from outside; an id once
   given keeps its number. */
#ifndef PLENVOX_SETTINGS_CONTROLS_H
#define PLENVOX_SETTINGS_CONTROLS_H

#define IDD_SETTINGS 100

/* The window caption by which a driver finds the dialog. */
#define SETTINGS_DIALOG_CAPTION "Plenvox settings"

/* OK saves and closes, Cancel closes and changes nothing (the system's IDOK, IDCANCEL). */
#define IDC_SETTINGS_OK 1
#define IDC_SETTINGS_CANCEL 2

#define IDC_INI_FILE 1001            /* read-only: the INI file that OK writes */
#define IDC_WINAMP_FOLDER 1002       /* Path.WinampFolder; "%commander_path%" allowed */
#define IDC_WINAMP_FOLDER_BROWSE 1003
#define IDC_EDITOR 1004              /* Path.Editor */
#define IDC_EDITOR_BROWSE 1005
#define IDC_SETTINGS_PROGRAM 1006    /* Path.Settings */
#define IDC_SETTINGS_PROGRAM_BROWSE 1007
#define IDC_MODE_NAME 1008           /* Mode.DisplayMode 0: radio button */
#define IDC_MODE_DATA 1009           /* Mode.DisplayMode 1: radio button */
#define IDC_MODE_TIME 1010           /* Mode.DisplayMode 2: radio button */
#define IDC_EXT_FILTER 1011          /* Mode.ExtFilter */
#define IDC_BLOCK_DEAD 1012          /* Mode.BlockDead: check box */
#define IDC_DISABLE_MULTI 1013       /* Mode.DisableMulti: check box */
#define IDC_NUMBER_COPIES 1020       /* Mode.NumberCopies: check box */
#define IDC_PLAYLIST_FOLDER 1014     /* Path.PlaylistFolder; empty: the player's answer */
#define IDC_PLAYLIST_FOLDER_BROWSE 1015
#define IDC_PLAYLIST_IN_USE 1016     /* read-only: the folder whose playlist the plug-in reads */
#define IDC_TAG_CODE_PAGE 1017       /* Mode.TagCodePage; 0: the ANSI code page */

#endif
