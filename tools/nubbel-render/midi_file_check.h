// A strict walk over a Standard MIDI File's bytes before libsmf sees them.
// libsmf asserts (ends the process) on some malformed files, e.g. a track
// without an end-of-track event or a truncated one, and misreads long meta
// events; so every file is checked here and handed on rewritten in a plain
// form: explicit status bytes, channel messages, tempo and time signature
// metas and one end-of-track per track, nothing else.
#pragma once

#include <vector>

namespace render {

// Throws std::runtime_error with the reason ("truncated: ...", "not a MIDI
// file ...") when the file is malformed or of a kind we do not play.
std::vector<unsigned char> plainMidiFile(const std::vector<unsigned char>& file);

}  // namespace render
