// Control ids of the engine's dialog templates (res/dialogs.rc). Plain #defines, so that the
// resource compiler and the C++ code read the same header. The dialog procedures put every
// text into these controls at run time; the templates carry none.
#ifndef QUORVEX_RES_DIALOG_IDS_H
#define QUORVEX_RES_DIALOG_IDS_H

#define IDC_FIRST_BUTTON 1001       /* OK / continue / accept: the default push button */
#define IDC_SECOND_BUTTON 1003      /* Cancel / decline */
#define IDC_TEXT_VIEWER 1005        /* the licence or read-me text */
#define IDC_PROGRESS_FRAME 1007     /* placeholder over which the progress bar is created */
#define IDC_PROMPT 1009             /* the prompt line above a dialog's main control */
#define IDC_PROGRESS_STEP_TEXT 1011 /* the progress dialog's current step */
#define IDC_BROWSE_BUTTON 1013      /* opens the folder browser */
#define IDC_DIRECTORY_FIELD 1015    /* the installation directory */
#define IDC_LANGUAGE_LIST 1017      /* the language names */

#endif
