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

// Controls of the About box.
#define IDC_ABOUT_PICTURE 136
#define IDC_ABOUT_PRODUCT_LINK 1007
#define IDC_ABOUT_DESIGNER_LINK 1023
