// The main window's private messages that other modules and processes send.
// The numbers are part of the program's outside interface: a second instance,
// the dialogs library and plug-ins rely on them. Tab ids are the window
// handles of the tabs' frames; text replies point into a buffer of the frame
// that stays valid until the next text reply.
#ifndef VA_SHARED_FRAMEMESSAGES_H
#define VA_SHARED_FRAMEMESSAGES_H

// wParam: a global atom holding a command line; the frame deletes the atom.
#define WM_FRAME_OPENCOMMANDLINE 0x0410

// WM_COPYDATA tag for a command line too long for a global atom (over 255
// characters): lpData holds the text with its terminator.
#define VA_COPYDATA_OPENCOMMANDLINE 0x56410410

#define WM_FRAME_ACTIVATEPREVTAB          0x0422  // lParam: CTabItem*
#define WM_FRAME_ACTIVATENEXTTAB          0x0425  // lParam: CTabItem*
#define WM_FRAME_TRAYNOTIFY               0x8002
#define WM_FRAME_CLOSETAB                 0x801B  // lParam: CTabItem*
#define WM_FRAME_COMBOSELECT              0x8408
#define WM_FRAME_ADDRESSENTER             0x8409
#define WM_FRAME_DROPTEXT                 0x8E4C
#define WM_FRAME_CREATEGROUP              0x8E5D  // wParam: image, lParam: name
#define WM_FRAME_OPENURL                  0x9470  // wParam: TabLoadFlags, lParam: URL
#define WM_FRAME_GETACTIVEURL             0x9471
#define WM_FRAME_GETACTIVETITLE           0x9472
#define WM_FRAME_GETCOUNT                 0x9473
#define WM_FRAME_GETURLAT                 0x9474
#define WM_FRAME_GETTITLEAT               0x9475
#define WM_FRAME_GETACTIVEDOCUMENT        0x9476
#define WM_FRAME_GETMENUSTYLE             0x9477
#define WM_FRAME_NAVIGATEACTIVE           0x9478
#define WM_FRAME_CREATEGROUPINDEX         0x9479
#define WM_FRAME_OPENURLINGROUP           0x947A
#define WM_FRAME_GETGROUPCOUNT            0x947B
#define WM_FRAME_GETACTIVEGROUPTITLE      0x947C
#define WM_FRAME_GETGROUPTITLEAT          0x947D
#define WM_FRAME_GETTABTITLEINGROUP       0x947E
#define WM_FRAME_GETTABURLINGROUP         0x947F
#define WM_FRAME_GETTABID                 0x9480
#define WM_FRAME_GETWINDOWOBJECT          0x9481
#define WM_FRAME_GETDOCUMENTOBJECT        0x9482
#define WM_FRAME_GETWEBBROWSEROBJECT      0x9483
#define WM_FRAME_NEWWINDOW                0x9484
#define WM_FRAME_NAVIGATETAB              0x9485
#define WM_FRAME_GETTABINDEX              0x9486
#define WM_FRAME_ISBUSY                   0x9487
#define WM_FRAME_SETSECURITY              0x9488
#define WM_FRAME_ISJAVASCRIPTENABLED      0x9489
#define WM_FRAME_ISJAVAENABLED            0x948A
#define WM_FRAME_ISRUNACTIVEXENABLED      0x948B
#define WM_FRAME_ISDOWNLOADACTIVEXENABLED 0x948C
#define WM_FRAME_ISPICTUREENABLED         0x948D
#define WM_FRAME_ISSOUNDENABLED           0x948E
#define WM_FRAME_ISVIDEOENABLED           0x948F
#define WM_FRAME_ISNAVIGATELOCK           0x9490
#define WM_FRAME_ISDOMAINLOCK             0x9491
#define WM_FRAME_ISLINKLOCK               0x9492
#define WM_FRAME_ISWHEELLOCK              0x9493
#define WM_FRAME_SETNAVIGATELOCK          0x9494
#define WM_FRAME_SETDOMAINLOCK            0x9495
#define WM_FRAME_SETLINKLOCK              0x9496
#define WM_FRAME_SETWHEELLOCK             0x9497
#define WM_FRAME_GETACTIVEINDEX           0x9498
#define WM_FRAME_GETACTIVEID              0x9499
#define WM_FRAME_GETCURRENTGROUP          0x9664
#define WM_FRAME_ADDPOPUPENTRY            0x9665
#define WM_FRAME_POPUPOPTIONCHANGED       0x9666
#define WM_FRAME_APPLYTABSECURITY         0x9667
#define WM_FRAME_APPLYDONE                0x9668
#define WM_FRAME_UNLOADPLUGINS            0x9669
#define WM_FRAME_PLUGINSSAVED             0x966A
#define WM_FRAME_UNLOADSCRIPTS            0x966B
#define WM_FRAME_RELOADSCRIPTS            0x966C
#define WM_FRAME_SAVEKEYWORD              0x9858
#define WM_FRAME_SHOWMENU                 0x9859  // lParam: CStringArray*

// The popup menu of WM_FRAME_SHOWMENU takes at most this many entries,
// items and separators alike.
#define VA_SHOWMENU_MAX_ENTRIES 50

#endif // VA_SHARED_FRAMEMESSAGES_H
