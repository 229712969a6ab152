// The portable view arithmetic built with mingw and run under Windows: the zoom fits, the
// drags and the status texts must come out exactly as in the native build.
#include "../../native/view/camera_test.cpp"
#include "../../native/view/interaction_test.cpp"
#include "../../native/view/status_text_test.cpp"
