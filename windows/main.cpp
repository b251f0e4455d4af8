// Zanbury on Windows: the command line taken in wide characters and handed on as UTF-8, the
// standard streams of the console the game was started from (a GUI program has none of its
// own), the folder the game plays in (windows/home.h), then the game as on every system.

#include "app/command_line.h"
#include "app/shell.h"
#include "platform/platform.h"
#include "windows/home.h"

#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

namespace {

std::string utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

// Started from a console (cmd, PowerShell) with no streams of its own, the game writes --help,
// --version and its messages there; streams that were given it (a pipe, a file) are kept.
void useParentConsole() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    const bool given = (out != nullptr && out != INVALID_HANDLE_VALUE) ||
                       (err != nullptr && err != INVALID_HANDLE_VALUE);
    if (!given && AttachConsole(ATTACH_PARENT_PROCESS) != 0) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
}

} // namespace

int main(int, char**) {
    useParentConsole();
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(utf8(wide[i]));
    }
    LocalFree(wide);
    std::vector<char*> argv;
    for (std::string& a : arguments) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    GameOptions options;
    if (int code = readCommandLine(count, argv.data(), options, windows::Places); code >= 0) {
        return code;
    }
    std::string why;
    if (!windows::enterHome(options, why)) {
        std::fprintf(stderr, "zanbury: %s\n", why.c_str());
        platform::showErrorBox("Zanbury", ("Zanbury cannot start:\n" + why).c_str());
        return 1;
    }
    return runGame(options);
}
