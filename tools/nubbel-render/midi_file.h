// Reads a Standard MIDI File (types 0 and 1) through libsmf into a Score:
// channel messages at their times in seconds, tempo changes honoured.
#pragma once

#include <string>
#include <vector>

#include "tools/nubbel-render/score.h"

namespace render {

// Throws Failure naming path with the reason when the file cannot be read,
// is not a MIDI file, is truncated or malformed, or is of type 2.
Score readMidiFile(const std::string& path);
// The same for a file's bytes; subject names them in errors.
Score readMidiBytes(const std::vector<unsigned char>& bytes, const std::string& subject);

}  // namespace render
