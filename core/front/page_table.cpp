// The static page table: one row per property page or dialog of the printer interface, in
// dialog-table order, with the page symbols 284-362 in row order. Every driver context copies
// it (and each page's control array) when it is made.
//
// The control arrays carry only the controls that the shared core itself reaches; the dialog
// engine's full control rows join them when the dialog engine is built.
#include "core/front/dialog_records.h"

namespace {

// TOV_IDD_ADVANCED: the settings commit empties the network-key edit through its window.
DlgControlRecord g_advancedControls[] = {
    // symbol, control, type, alias, help, hint, info, partner, -, notify, links..., flags
    {0, 2988, 61, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, nullptr, 0, 0, 0},
};

// The controls of the settings the application interface tests for availability (a setting
// counts as usable only while a dialog control shows it); each carries its item's symbol.
#define ZEMS_ITEM_CONTROL(symbol, control, type) \
  {symbol, control, type, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, nullptr, 0, 0, 0}
DlgControlRecord g_basicControls[] = {
    ZEMS_ITEM_CONTROL(1014, 2044, 48),  // dmColor: TOV_IDC_BASIC_CHOICE_COLOR
};
// Buttons carry their own control symbol (symbols_ui.inc), which the model's rules may judge.
DlgControlRecord g_editControls[] = {
    ZEMS_ITEM_CONTROL(6000, 2407, 21),  // TOV_IDC_EDIT_BUTTON_OVERLAY
};
DlgControlRecord g_initControls[] = {
    ZEMS_ITEM_CONTROL(6001, 2570, 21),  // TOV_IDC_INIT_BUTTON_USERCODE
};
DlgControlRecord g_stampCharControls[] = {
    ZEMS_ITEM_CONTROL(2080, 2878, 22),  // wdmWMPrinterStamp2PlanePrint: TOV_IDC_STAMP_CHAR_CHOICE_2PLANEPRINT
};
DlgControlRecord g_stampImageControls[] = {
    ZEMS_ITEM_CONTROL(2080, 2879, 22),  // wdmWMPrinterStamp2PlanePrint: TOV_IDC_STAMP_IMAGE_CHOICE_2PLANEPRINT
};
DlgControlRecord g_authenticationControls[] = {
    ZEMS_ITEM_CONTROL(2908, 3000, 22),  // zdmPrnFuncAuthenticationMode: TOV_IDC_AUTHENTICATION_CHOICE_AUTHENTICATION
};
// TOV_IDD_DIALOG_USER_ICMMODE: the colour-matching choice, which lists the stored profiles.
DlgControlRecord g_userIcmControls[] = {
    ZEMS_ITEM_CONTROL(1132, 2256, 48),  // zdmColorMatchingMode: TOV_IDC_USERICM_CHOICE_MATCHING
};
// TOV_IDD_DIALOG_CHAPTER: the chapter list, from which the window-less delete takes its entry.
DlgControlRecord g_chapterControls[] = {
    ZEMS_ITEM_CONTROL(0, 2800, 50),  // TOV_IDC_CHAPTER_LIST
};
DlgControlRecord g_finishControls[] = {
    ZEMS_ITEM_CONTROL(1077, 2894, 22),  // zdmFuncSelectFold: TOV_IDC_FINISH_CHOICE_Z_FOLD
    ZEMS_ITEM_CONTROL(1542, 3212, 22),  // zdmFunc2SelectFolding: TOV_IDC_FINISH_CHOICE_FOLDING
};
DlgControlRecord g_othersControls[] = {
    ZEMS_ITEM_CONTROL(1192, 2478, 22),  // zdmExtOutputEMFSpool: TOV_IDC_OTHERS_CHOICE_EMFSPOOL
};
DlgControlRecord g_qualityControls[] = {
    ZEMS_ITEM_CONTROL(1176, 2122, 41),  // zdmPrintMacro: TOV_RADIOLIST_3
    ZEMS_ITEM_CONTROL(1177, 2131, 41),  // zdmBalanceMacro: TOV_RADIOLIST_4
    ZEMS_ITEM_CONTROL(1067, 2405, 22),  // zdmFuncSelectTonerSave: TOV_IDC_PRINTQUALITY_CHOICE_TONERSAVE_MODE
    ZEMS_ITEM_CONTROL(1199, 2135, 48),  // zdmTonerSave: TOV_IDC_PRINTQUALITY_CHOICE_TONERSAVE
};
DlgControlRecord g_userQualityControls[] = {
    ZEMS_ITEM_CONTROL(1133, 2632, 48),  // zdmColorMode: TOV_IDC_USER_QUALITY_CHOICE_MODE
    ZEMS_ITEM_CONTROL(1162, 2820, 22),  // zdmQualityFuncColorRevision: TOV_IDC_USER_OTHERS_CHOICE_COLORREVISION
};
DlgControlRecord g_userBalanceControls[] = {
    ZEMS_ITEM_CONTROL(1139, 2269, 63),  // zdmSaturation: TOV_IDC_USER_QUALITY_EDIT_SATURATION
    ZEMS_ITEM_CONTROL(1140, 2272, 63),  // zdmColorBalanceR: TOV_IDC_USER_QUALITY_EDIT_COLORBALANCER
};
DlgControlRecord g_userOthersControls[] = {
    ZEMS_ITEM_CONTROL(1143, 2296, 22),  // zdmPlaneUseCMYKCyan: TOV_IDC_USER_OTHERS_CHOICE_C
    ZEMS_ITEM_CONTROL(1067, 2302, 22),  // zdmFuncSelectTonerSave: TOV_IDC_USER_OTHERS_CHOICE_TONERSAVE_MODE
    ZEMS_ITEM_CONTROL(1199, 2303, 48),  // zdmTonerSave: TOV_IDC_USER_OTHERS_CHOICE_TONERSAVE
};
#undef ZEMS_ITEM_CONTROL

// A page's control array, its reserved word and its control count.
#define CONTROLS(array) array, 0, static_cast<WORD>(sizeof(array) / sizeof(array[0]))

// dialog id, symbol, kind, -, name, help id, controls, -, control count, window, modal
DlgPageRecord g_pages[] = {
    {1001, 284, 0x0001, 0, "TOV_IDD_PRESET", 20101, nullptr, 0, 0, nullptr, 0},
    {1002, 285, 0x0011, 0, "TOV_IDD_BASIC", 22001, CONTROLS(g_basicControls), nullptr, 0},
    {1003, 286, 0x0011, 0, "TOV_IDD_EDIT", 22301, CONTROLS(g_editControls), nullptr, 0},
    {1004, 287, 0x0011, 0, "TOV_IDD_FINISH", 22701, CONTROLS(g_finishControls), nullptr, 0},
    {1005, 288, 0x0011, 0, "TOV_IDD_OTHERS", 22801, CONTROLS(g_othersControls), nullptr, 0},
    {1006, 289, 0x0001, 0, "TOV_IDD_PRINTQUALITY", 21401, CONTROLS(g_qualityControls), nullptr, 0},
    {1010, 290, 0x0005, 0, "TOV_IDD_DIALOG_INIT", 20301, CONTROLS(g_initControls), nullptr, 0},
    {1011, 291, 0x0006, 0, "TOV_IDD_DIALOG_OPTION", 21001, nullptr, 0, 0, nullptr, 0},
    {1009, 292, 0x0002, 0, "TOV_IDD_TTF", 23201, nullptr, 0, 0, nullptr, 0},
    {1008, 293, 0x0002, 0, "TOV_IDD_USER_CODE", 23301, nullptr, 0, 0, nullptr, 0},
    {1015, 294, 0x0006, 0, "TOV_IDD_DIALOG_PRINTPOST", 20801, nullptr, 0, 0, nullptr, 0},
    {1007, 295, 0x0004, 0, "TOV_IDD_MAINTENANCE", 20201, nullptr, 0, 0, nullptr, 0},
    {1012, 296, 0x0004, 0, "TOV_IDD_DIALOG_ROTATION", 20401, nullptr, 0, 0, nullptr, 0},
    {1013, 297, 0x0004, 0, "TOV_IDD_DIALOG_UNIT", 20501, nullptr, 0, 0, nullptr, 0},
    {1014, 298, 0x0004, 0, "TOV_IDD_DIALOG_SORT", 20601, nullptr, 0, 0, nullptr, 0},
    {1016, 299, 0x0004, 0, "TOV_IDD_DIALOG_ACTION", 20701, nullptr, 0, 0, nullptr, 0},
    {1017, 300, 0x0004, 0, "TOV_IDD_DIALOG_FREESIZE", 20901, nullptr, 0, 0, nullptr, 0},
    {1018, 301, 0x0004, 0, "TOV_IDD_DIALOG_SCALE", 21101, nullptr, 0, 0, nullptr, 0},
    {1019, 302, 0x0004, 0, "TOV_IDD_DIALOG_PRINTTYPE", 21201, nullptr, 0, 0, nullptr, 0},
    {1020, 303, 0x0004, 0, "TOV_IDD_DIALOG_STATUS", 0, nullptr, 0, 0, nullptr, 0},
    {1021, 304, 0x0020, 0, "TOV_IDD_DIALOG_USER_PQC", 21601, CONTROLS(g_userQualityControls), nullptr, 0},
    {1038, 305, 0x0020, 0, "TOV_IDD_DIALOG_USER_BALANCE", 23601, CONTROLS(g_userBalanceControls), nullptr, 0},
    {4004, 306, 0x0004, 0, "TOV_IDD_DIALOG_USER_TTF", 21402, nullptr, 0, 0, nullptr, 0},
    {1029, 307, 0x0020, 0, "TOV_IDD_DIALOG_USER_OTHERS", 21801, CONTROLS(g_userOthersControls), nullptr, 0},
    {1022, 308, 0x0004, 0, "TOV_IDD_DIALOG_STAMP_CHAR", 22401, CONTROLS(g_stampCharControls), nullptr, 0},
    {1023, 309, 0x0004, 0, "TOV_IDD_DIALOG_STAMP_IMAGE", 22501, CONTROLS(g_stampImageControls), nullptr, 0},
    {1024, 310, 0x0004, 0, "TOV_IDD_DIALOG_MARGIN", 22601, nullptr, 0, 0, nullptr, 0},
    {1030, 311, 0x0004, 0, "TOV_IDD_DIALOG_COVER", 22101, nullptr, 0, 0, nullptr, 0},
    {1031, 312, 0x0004, 0, "TOV_IDD_DIALOG_MARK", 22201, nullptr, 0, 0, nullptr, 0},
    {1034, 313, 0x0004, 0, "TOV_IDD_DIALOG_REMOTE", 23001, nullptr, 0, 0, nullptr, 0},
    {1041, 314, 0x0004, 0, "TOV_IDD_DIALOG_FREESIZE_INPUT", 23901, nullptr, 0, 0, nullptr, 0},
    {1035, 315, 0x0004, 0, "TOV_IDD_DIALOG_ADDRESS", 23101, nullptr, 0, 0, nullptr, 0},
    {1036, 316, 0x0004, 0, "TOV_IDD_DIALOG_ICM", 0, nullptr, 0, 0, nullptr, 0},
    {1037, 317, 0x0004, 0, "TOV_IDD_DIALOG_OVERLAY", 23501, nullptr, 0, 0, nullptr, 0},
    {1039, 318, 0x0004, 0, "TOV_IDD_DIALOG_INPUT_HFSTRING", 0, nullptr, 0, 0, nullptr, 0},
    {1040, 319, 0x0004, 0, "TOV_IDD_DIALOG_COMMAND", 23701, nullptr, 0, 0, nullptr, 0},
    {1042, 320, 0x0004, 0, "TOV_IDD_CVRMARK", 0, nullptr, 0, 0, nullptr, 0},
    {1043, 321, 0x0004, 0, "TOV_IDD_DIALOG_BACKCOVER", 0, nullptr, 0, 0, nullptr, 0},
    {1044, 322, 0x0004, 0, "TOV_IDD_DIALOG_CHAPTER", 0, CONTROLS(g_chapterControls), nullptr, 0},
    {4014, 323, 0x0004, 0, "TOV_IDD_DIALOG_REVERSECOVER", 0, nullptr, 0, 0, nullptr, 0},
    {4015, 324, 0x8000, 0, "TOV_IDD_DIALOG_CREATE_MIDFILES", 0, nullptr, 0, 0, nullptr, 0},
    {4016, 325, 0x0004, 0, "TOV_IDD_MASTERPRINT", 0, nullptr, 0, 0, nullptr, 0},
    {4017, 326, 0x0004, 0, "TOV_IDD_DIALOG_ILLEGALCOPY_PROTECT", 0, nullptr, 0, 0, nullptr, 0},
    {4018, 327, 0x0004, 0, "TOV_IDD_DIALOG_PAPER_POS", 0, nullptr, 0, 0, nullptr, 0},
    {4019, 328, 0x0004, 0, "TOV_IDD_ADVANCED", 0, CONTROLS(g_advancedControls), nullptr, 0},
    {4020, 329, 0x0004, 0, "TOV_IDD_DIALOG_ATPASSWORD_INPUT", 0, nullptr, 0, 0, nullptr, 0},
    {4021, 330, 0x0004, 0, "TOV_IDD_DIALOG_NETWORK_KEY_INPUT", 0, nullptr, 0, 0, nullptr, 0},
    {4022, 331, 0x0004, 0, "TOV_IDD_DIALOG_AUTHENTICATION", 0, CONTROLS(g_authenticationControls), nullptr, 0},
    {4023, 332, 0x0004, 0, "TOV_IDD_UTILITY", 0, nullptr, 0, 0, nullptr, 0},
    {4024, 333, 0x0004, 0, "TOV_IDD_DIALOG_DENSITY", 0, nullptr, 0, 0, nullptr, 0},
    {4025, 334, 0x0004, 0, "TOV_IDD_DIALOG_IMAGEOVERLAY", 0, nullptr, 0, 0, nullptr, 0},
    {4026, 335, 0x0004, 0, "TOV_IDD_DIALOG_ROTATION2", 0, nullptr, 0, 0, nullptr, 0},
    {4027, 336, 0x0004, 0, "TOV_IDD_DIALOG_VERSION2", 0, nullptr, 0, 0, nullptr, 0},
    {4028, 337, 0x0004, 0, "TOV_IDD_DIALOG_ROTATION3", 0, nullptr, 0, 0, nullptr, 0},
    {4029, 338, 0x0004, 0, "TOV_IDD_DIALOG_DISKLIMIT", 0, nullptr, 0, 0, nullptr, 0},
    {4030, 339, 0x0004, 0, "TOV_IDD_MASTERPRINT2", 0, nullptr, 0, 0, nullptr, 0},
    {4031, 340, 0x0004, 0, "TOV_IDD_DIALOG_LIMITATION", 0, nullptr, 0, 0, nullptr, 0},
    {4032, 341, 0x0004, 0, "TOV_IDD_DIALOG_LIMITATION_STATUS", 0, nullptr, 0, 0, nullptr, 0},
    {4033, 342, 0x0004, 0, "TOV_IDD_DIALOG_EXTENSIONS", 0, nullptr, 0, 0, nullptr, 0},
    {4034, 343, 0x0004, 0, "TOV_IDD_DIALOG_FOLDING", 0, nullptr, 0, 0, nullptr, 0},
    {1065, 344, 0x0004, 0, "TOV_IDD_DIALOG_HIDDEN_FUNC", 0, nullptr, 0, 0, nullptr, 0},
    {1032, 345, 0x0004, 0, "TOV_IDD_DIALOG_SAVE_PRESET", 21301, nullptr, 0, 0, nullptr, 0},
    {1033, 346, 0x0004, 0, "TOV_IDD_DIALOG_SAVE_USER", 21901, nullptr, 0, 0, nullptr, 0},
    {1025, 347, 0x0004, 0, "TOV_IDD_DIALOG_VERSION", 0, nullptr, 0, 0, nullptr, 0},
    {1026, 348, 0x0004, 0, "TOV_IDD_DIALOG_USERCODE_CHANGE", 0, nullptr, 0, 0, nullptr, 0},
    {1027, 349, 0x0004, 0, "TOV_IDD_DIALOG_USERCODE_INPUT", 0, nullptr, 0, 0, nullptr, 0},
    {1028, 350, 0x0004, 0, "TOV_IDD_DIALOG_USERCODE_CONFIRMATION", 0, nullptr, 0, 0, nullptr, 0},
    {4005, 351, 0x0004, 0, "TOV_IDD_DIALOG_PASSWORD_INPUT", 0, nullptr, 0, 0, nullptr, 0},
    {4006, 352, 0x0004, 0, "TOV_IDD_DLG_STATUS", 0, nullptr, 0, 0, nullptr, 0},
    {4001, 353, 0x0100, 0, "TOV_FILEOPEN", 0, nullptr, 0, 0, nullptr, 0},
    {4002, 354, 0x0200, 0, "TOV_RSTOPENSAVE", 0, nullptr, 0, 0, nullptr, 0},
    {4003, 355, 0x0400, 0, "TOV_FILEREFER", 0, nullptr, 0, 0, nullptr, 0},
    {4007, 356, 0x0800, 0, "TOV_ZVLSAVE", 0, nullptr, 0, 0, nullptr, 0},
    {4008, 357, 0x1000, 0, "TOV_ZVLREFER", 0, nullptr, 0, 0, nullptr, 0},
    {4009, 358, 0x2000, 0, "TOV_FILESAVE", 0, nullptr, 0, 0, nullptr, 0},
    {4010, 359, 0x0004, 0, "TOV_IDD_DIALOG_USER_ICMMODE", 0, CONTROLS(g_userIcmControls), nullptr, 0},
    {4011, 360, 0x0004, 0, "TOV_IDD_CMMADDPROFILE", 0, nullptr, 0, 0, nullptr, 0},
    {4012, 361, 0x0004, 0, "TOV_IDD_CMMMODPROFILE", 0, nullptr, 0, 0, nullptr, 0},
    {4013, 362, 0x0004, 0, "TOV_IDD_DIALOG_ORIENTATION", 20302, nullptr, 0, 0, nullptr, 0},
};
#undef CONTROLS

static_assert(sizeof(g_pages) / sizeof(g_pages[0]) == 79, "the page table has 79 rows");

DlgPageTable g_pageTable = {79, g_pages};

}  // namespace

const DlgPageTable* TblGetPageTable() { return &g_pageTable; }

