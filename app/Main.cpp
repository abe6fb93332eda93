// The program's one application object.
#include "app/VantorelApp.h"

CVantorelApp theApp;
