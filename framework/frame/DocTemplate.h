// Document templates: what a document type is made of.
//
// Classes in this file:
//   CMultiDocTemplate   the resource id of a document type and the run-time
//                       classes of its document, frame and view
//
// The program opens its pages through its own tab frames, not through
// documents: a template only records the classes of a type.
#ifndef VA_FRAMEWORK_FRAME_DOCTEMPLATE_H
#define VA_FRAMEWORK_FRAME_DOCTEMPLATE_H

#include "framework/win/CmdTarget.h"

//--- CMultiDocTemplate
class CMultiDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CMultiDocTemplate)

public:
    CMultiDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                      const CRuntimeClass* pViewClass)
        : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
    {
    }

    const UINT m_nIDResource;
    const CRuntimeClass* const m_pDocClass;
    const CRuntimeClass* const m_pFrameClass;
    const CRuntimeClass* const m_pViewClass;
};

#endif // VA_FRAMEWORK_FRAME_DOCTEMPLATE_H
