// The browser platform's message box: the reason the game cannot start, shown on the page.

#include "platform/platform.h"
#include "platform/web/page.h"

namespace platform {

void showErrorBox(const char* title, const char* message) {
    zanbury_page_error(title, message);
}

} // namespace platform
