// The main window's private messages that other modules and processes send.
// The numbers are part of the program's outside interface: a second instance,
// the dialogs library and plug-ins rely on them.
#ifndef VA_SHARED_FRAMEMESSAGES_H
#define VA_SHARED_FRAMEMESSAGES_H

// wParam: a global atom holding a command line; the frame deletes the atom.
#define WM_FRAME_OPENCOMMANDLINE 0x0410

// WM_COPYDATA tag for a command line too long for a global atom (over 255
// characters): lpData holds the text with its terminator.
#define VA_COPYDATA_OPENCOMMANDLINE 0x56410410

#endif // VA_SHARED_FRAMEMESSAGES_H
