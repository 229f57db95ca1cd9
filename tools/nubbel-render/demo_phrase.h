// The built-in demo: slow chord changes with a melody above them, about
// 18 seconds, written to show off a pad sound.
#pragma once

#include "tools/nubbel-render/score.h"

namespace render {

Score demoPhrase();

}  // namespace render
