// Hiding a page's Flash objects (OBJECT elements of the Flash player's class
// id) by styling them invisible and zero-sized, in the page and its frames.
#ifndef VA_TAB_FLASHHIDING_H
#define VA_TAB_FLASHHIDING_H

struct IHTMLDocument2;

// One document and, recursively, its frames; the number of objects hidden.
int HideFlashInFrames(IHTMLDocument2* pDoc, int depth = 0);
// One document; the number of objects hidden.
int HideFlashInDocument(IHTMLDocument2* pDoc);

#endif // VA_TAB_FLASHHIDING_H
