#include "framework/frame/DocTemplate.h"

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CCmdTarget)
