/* String ids of the sample resource module beyond those the dialogs themselves use
   (which include/printdialogs.h names): step texts for a few trays and the texts of
   two sample warnings. */
#ifndef PRINTDIALOGS_SAMPLE_STRINGS_H
#define PRINTDIALOGS_SAMPLE_STRINGS_H

#define IDS_STEP_REMOVE_FROM_BIN 3200
#define IDS_STEP_INSERT_TRAY1 3201
#define IDS_STEP_PRESS_GO 3202
#define IDS_STEP_REAR_SLOT 3203
#define IDS_STEP_FRONT_DRAWER 3204
#define IDS_STEP_CLICK_CONTINUE 3205

#define IDS_WARNING_PAPER_CAPTION 4000
#define IDS_WARNING_PAPER_MESSAGE 4001
#define IDS_WARNING_TONER_CAPTION 4002
#define IDS_WARNING_TONER_MESSAGE 4003
#define IDS_BUTTON_PRINT 4010
#define IDS_BUTTON_CANCEL 4011
#define IDS_BUTTON_SETTINGS 4012

#endif
