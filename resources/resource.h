#pragma once
// Numeric resource identifiers of the program.

#define IDD_ABOUT 102
#define IDI_KESTROLA 107
#define IDI_KESTROLA_SMALL 108
#define IDD_CONFIGURE 131
#define IDD_AUTOPRINT_CONFIRM 132
#define IDB_EMBLEM 134
#define IDB_PRINTER 136
#define IDI_GEAR 137
#define IDB_BUSY 138
#define IDB_SUCCESS 139
#define IDB_FAILURE 140
// The bitmaps at 200 %: each at its 100 % id + 100.
#define IDB_EMBLEM_200 234
#define IDB_PRINTER_200 236
#define IDB_BUSY_200 238
#define IDB_SUCCESS_200 239
#define IDB_FAILURE_200 240

// Controls of the About box.
#define IDC_ABOUT_PICTURE 136
#define IDC_ABOUT_PRODUCT_LINK 1007
#define IDC_ABOUT_DESIGNER_LINK 1023

// Controls of the configuration dialog (131) and the automatic-printing warning (132).
#define IDC_OPEN_WIZARD 1015
#define IDC_AUTO_SEND 1016
#define IDC_AUTOPRINT_PRINTER 1017
#define IDC_DONT_ASK_AGAIN 1018
#define IDC_CONFIRM_YES 1019
#define IDC_CONFIRM_NO 1020
#define IDC_CONFIRM_ICON 1021
#define IDC_SUPPRESS_ERRORS 1022
#define IDC_NEWLINE_AFTER_FORM_FEED 1025
#define IDC_EXIT_AFTER_SENDING 1026
