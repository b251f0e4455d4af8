// Every Windows program of the project reads and writes its files and standard streams as bytes,
// as on Linux: without this the C library's text mode would write "\r\n" for each "\n", so
// that traces, recordings and the high score differ from the Linux programs' byte for byte, and
// would end a file read at a stray Ctrl-Z. Linked into each program; it runs before main.

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

struct BinaryFiles {
    BinaryFiles() {
        _fmode = _O_BINARY; // the default of every file opened from here on
        _setmode(_fileno(stdin), _O_BINARY);
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
    }
};

const BinaryFiles binaryFiles;

} // namespace
