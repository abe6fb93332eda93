// The application object, for test programs of the floors below the
// application whose libraries still name it (the tab floor, until it
// reaches the frame through its host alone). Never started: nothing of the
// application runs.
#include "app/VantorelApp.h"

CVantorelApp theApp;
