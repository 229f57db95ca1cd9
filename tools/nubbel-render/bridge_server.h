// The helper's side of the bridge: answers requests from the renderer with
// a plug-in loaded in this process, until told to quit or the pipe closes.
#pragma once

namespace render::bridge {

// Returns the helper's exit code: 0 after kQuit, 1 when the stream broke.
int serve(int inFd, int outFd);

}  // namespace render::bridge
