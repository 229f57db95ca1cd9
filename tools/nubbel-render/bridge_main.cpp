// nubbel-render-bridge: hosts one plug-in for nubbel-render over stdin and
// stdout. Built for Windows it runs under wine and loads Windows DLLs, the way
// plug-in bridges of real hosts do; the renderer itself stays native and keeps
// MIDI parsing and audio file writing.
#include <cstdio>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include "tools/nubbel-render/bridge_server.h"

int main() {
    // The protocol owns the original stdout; whatever the plug-in prints goes
    // to stderr instead of into the stream.
#if defined(_WIN32)
    _setmode(0, _O_BINARY);
    const int protocolOut = _dup(1);
    _setmode(protocolOut, _O_BINARY);
    _dup2(2, 1);
#else
    const int protocolOut = dup(1);
    dup2(2, 1);
#endif
    if (protocolOut < 0) {
        std::fprintf(stderr, "nubbel-render-bridge: cannot take over standard output\n");
        return 1;
    }
    return render::bridge::serve(0, protocolOut);
}
