/*
 * Command ids of the main program, which its frame, tabs and bars share: the
 * items of the main menu, the toolbars, the tab and page menus and the key
 * bindings carry them. Also the resources of the program module that the
 * bars load themselves. Plain C preprocessor text, read by windres (through
 * the program's resource header) and by the C++ sources.
 *
 * The framework's standard command ids (file, edit, application, status bar)
 * are defined here too, so that the resource script needs no framework
 * header; they are spelled exactly as the framework spells them, so that a
 * source including both sees identical definitions. Ranges filled at run
 * time are FIRST/LAST pairs.
 */
#ifndef VA_SHARED_COMMANDIDS_H
#define VA_SHARED_COMMANDIDS_H

/* Tab bars: the cursor of a tab being dragged, the drop markers of a row
   and of a column. */
#define IDC_TAB_DRAG                    185
#define IDI_TAB_DROP_ROW                187
#define IDI_TAB_DROP_COLUMN             188
/* Full-screen caption bar: button faces. */
#define IDB_FS_PIN_OFF                  250
#define IDB_FS_MAXIMIZE                 251
#define IDB_FS_MINIMIZE                 252
#define IDB_FS_PIN_ON                   253
#define IDB_FS_CLOSE                    254

/* The page's context menu over a text selection. */
#define ID_PAGE_COPY                    32850
#define ID_PAGE_COPYTEXT                32837
#define ID_PAGE_SEARCH                  32838
#define ID_PAGE_SEARCHNEWGROUP          32839
#define ID_PAGE_DICTIONARY              32840
#define ID_PAGE_IEMENU                  36431
#define ID_PAGE_OPENASURL               36432
#define ID_PAGE_SELECTIONMENU           36433   /* the page menu over the selection */

/* File popup: identified by its last item, ID_APP_EXIT. Submenu 0 holds the
   new-tab kinds, submenu 1 the group templates, submenu 2 the recently
   closed tabs (its resource item is a placeholder removed at start-up). */
#define ID_FILE_NEWTAB                  32790   /* new tab of the kind set by CtrlN */
#define ID_TAB_NEWBLANK                 1072
#define ID_TAB_NEWCLIPBOARD             1073
#define ID_TAB_DUPLICATE                1074
#define ID_TAB_NEWHOME                  1075
#define ID_GROUPTEMPLATE_FIRST          36600   /* definition n: 36600 + n */
#define ID_GROUPTEMPLATE_LAST           36699
#define ID_CLOSEDTAB_FIRST              32300   /* also the submenu's placeholder */
#define ID_CLOSEDTAB_LAST               32315
#define ID_FILE_OPENLOCATION            36012
#define ID_FILE_SAVEAS_PAGE             32851
#define ID_FILE_PRINTPREVIEW_PAGE       32831
#define ID_FILE_PRINT_PAGE              32832
#define ID_FILE_NEW                     0xE100  /* 57600 */
#define ID_FILE_OPEN                    0xE101  /* 57601 */
#define ID_FILE_CLOSE                   0xE102  /* 57602, closes the active tab */
#define ID_APP_EXIT                     0xE141  /* 57665 */

/* Edit popup. */
#define ID_EDIT_COPY                    0xE122  /* 57634 */
#define ID_EDIT_CUT                     0xE123  /* 57635 */
#define ID_EDIT_FIND                    0xE124  /* 57636, the browser control's find dialog */
#define ID_EDIT_PASTE                   0xE125  /* 57637 */
#define ID_EDIT_SELECT_ALL              0xE12A  /* 57642 */
#define ID_EDIT_COPYTEXTONLY            32856
#define ID_EDIT_FINDDISPATCH            36288   /* find of the kind set by CtrlF */
#define ID_EDIT_TEXTSEARCH              36290
#define ID_EDIT_HIGHLIGHT               1065
#define ID_EDIT_VIEWSOURCE              32854
#define ID_EDIT_VIEWSELSOURCE           32855
#define ID_EDIT_PAGEEDIT                36011
#define ID_EDIT_FINDINPAGE              1076

/* View popup. */
#define ID_VIEW_TOOLBAR_BAND            36043
#define ID_VIEW_ADDRESS_BAND            36054
#define ID_VIEW_LINKS_BAND              36272
#define ID_VIEW_SEARCH_BAND             36466
#define ID_VIEW_LOCKBARS                36434
#define ID_VIEW_RESETBARS               36399
#define ID_VIEW_STATUS_BAR              0xE801  /* 59393 */
/* Shows or hides the favorites pane (its docking bar's close button too). */
#define ID_VIEW_FAVORITES_PANE          36044
/* Flips bClickOpen (open by single click). */
#define ID_OPTION_CLICKOPEN             36045
#define ID_VIEW_FULLSCREEN              36437
#define ID_NAV_BACK                     1018
#define ID_NAV_FORWARD                  1019
#define ID_NAV_HOME                     1020
#define ID_NAV_STOP                     1021
#define ID_NAV_REFRESH                  1022
#define ID_GROUP_CLOSETABS              32773   /* every tab of the current group */
#define ID_NAV_BACKMENU                 36435   /* the back history popup */
#define ID_NAV_FORWARDMENU              36436
#define ID_GROUP_TABMENU                36460   /* the group tab menu at the selected tab */
#define ID_NAV_UP                       1052
#define ID_FOCUS_ADDRESS                36014
#define ID_FOCUS_SEARCH                 36015
/* Opens the address box's text, as Enter in the box does. */
#define ID_GO                           36401
#define ID_TEXTSIZE_LARGEST             32774
#define ID_TEXTSIZE_LARGER              32775
#define ID_TEXTSIZE_MEDIUM              32776
#define ID_TEXTSIZE_SMALLER             32777
#define ID_TEXTSIZE_SMALLEST            32778

/* Favorites popup: identified by its first item, ID_FAV_ADD; its first five
   items are fixed, the favorites follow them when it opens. */
#define ID_FAV_ADD                      32858
#define ID_FAV_ORGANIZE                 32859
#define ID_FAV_RELOAD                   32860
#define ID_FAV_EXPLORE                  36273

/* Group popup (tab groups). */
#define ID_GROUP_PREV                   36531
#define ID_GROUP_NEXT                   36532
#define ID_GROUP_CLOSE                  36447
#define ID_GROUP_CLOSEOTHERS            36448
#define ID_GROUP_CLOSELEFT              36449
#define ID_GROUP_CLOSERIGHT             36450
#define ID_GROUP_CLOSEALL               36451
#define ID_GROUP_NEW                    36446   /* first item of the template submenu */
#define ID_GROUP_CUSTOMIZE              36452
#define ID_GROUP_RENAME                 36453
#define ID_GROUP_IMAGE                  36458   /* the image picker */
#define ID_GROUP_SWITCHES               36459
#define ID_GROUP_IMAGE_FIRST            36500   /* image n: 36500 + n, up to 30 */
#define ID_GROUP_IMAGE_LAST             36530
#define ID_GROUPTEMPLATE_EDIT           36700

/* Tools popup: identified by its first item, ID_TAB_WHEELLOCK. Its third
   submenu is the auto-reload list (item 7 rebuilt at run time), its last
   submenu the proxy modes (the server list follows item 3 at run time). */
#define ID_TAB_WHEELLOCK                36443
#define ID_TAB_LINKLOCK                 36444
#define ID_DL_IMAGES                    36279
#define ID_DL_SOUNDS                    36280
#define ID_DL_VIDEOS                    36281
#define ID_DL_FLASH                     36429
#define ID_DL_MEDIA_ALLOW               36282
#define ID_DL_MEDIA_DENY                36283
#define ID_DL_SCRIPTS                   36275
#define ID_DL_JAVA                      36276
#define ID_DL_ACTIVEX_RUN               36277
#define ID_DL_ACTIVEX_DOWNLOAD          36278
#define ID_DL_SECURITY_ALLOW            36284
#define ID_DL_SECURITY_DENY             36285
#define ID_DL_NOCACHE                   36286
#define ID_DL_SILENT                    36287
#define ID_RELOAD_STOP                  36264
#define ID_RELOAD_15S                   36265
#define ID_RELOAD_30S                   36266
#define ID_RELOAD_1MIN                  36267
#define ID_RELOAD_2MIN                  36268
#define ID_RELOAD_3MIN                  36269
#define ID_RELOAD_5MIN                  36270
#define ID_RELOAD_USER                  36271   /* caption rebuilt from iReload */
#define ID_TOOLS_SETTINGS               32772
#define ID_TOOLS_INETOPTIONS            32771
#define ID_PROXY_IE                     36057
#define ID_PROXY_DIRECT                 36058
#define ID_PROXY_USELIST                36059
#define ID_PROXY_SETTINGS               36211
#define ID_PROXY_ENTRY_FIRST            36060   /* 150 server entries */
#define ID_PROXY_ENTRY_LAST             36209

/* Plug-ins popup: identified by its last item, ID_PLUGIN_SETTINGS. */
#define ID_PLUGIN_FIRST                 36297   /* also the placeholder */
#define ID_PLUGIN_LAST                  36397
#define ID_PLUGIN_SETTINGS              36427

/* Scripts popup: identified by its last item, ID_SCRIPT_SETTINGS. */
#define ID_SCRIPT_FIRST                 36701   /* also the placeholder */
#define ID_SCRIPT_LAST                  36800
#define ID_SCRIPT_SETTINGS              36801

/* Window popup: the tabs of the current group. */
#define ID_TAB_PREV                     1058
#define ID_TAB_NEXT                     1061
#define ID_TAB_CLOSE                    1069
#define ID_TAB_CLOSEOTHERS              1070
#define ID_TAB_CLOSEALL                 1071
#define ID_TAB_CLOSELEFT                36262
#define ID_TAB_CLOSERIGHT               36263
#define ID_WINDOW_TOTRAY                36802

/* Help popup. */
#define ID_HELP_CONTENTS                36461
#define ID_HELP_HOMEPAGE                32788
#define ID_APP_ABOUT                    0xE140  /* 57664 */

#endif /* VA_SHARED_COMMANDIDS_H */
