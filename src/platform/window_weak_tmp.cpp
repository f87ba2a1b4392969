// Temporary: lets the tests link until the window module lands.
#include "platform/window.h"
__attribute__((weak)) bool PlatformWindow::IsMinimized() const { return false; }
