// Menu captions shown outside a menu: a list or a label shows what the menu
// item reads, without the "&" that marks its access key.
#ifndef VA_SHARED_MENUTEXT_H
#define VA_SHARED_MENUTEXT_H

#include "framework/core/CString.h"

namespace MenuText {

// The caption as the menu shows it, without the access-key marking:
// "&&" is a literal "&"; a marker of its own in parentheses, "(&C)", goes
// whole, with one space before it ("Import (&I)..." reads "Import...");
// any other "&" goes and the character after it stays ("Im&port" reads
// "Import", "&(&X)" reads "(X)"). cp932-aware: the marked character may be
// double-byte, and a lead byte standing alone never pairs with what follows
// once a marking between them is gone: it goes.
CString WithoutMnemonic(const CString& caption);

} // namespace MenuText

#endif // VA_SHARED_MENUTEXT_H
