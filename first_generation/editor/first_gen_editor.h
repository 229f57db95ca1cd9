// How the first-generation instrument gets its editor.
#pragma once

class AudioEffectX;
class ZVGui;

// A FirstGenGui with this platform's window backend, owned by the caller
// (store it in AudioEffect::editor; the plug-in base deletes it). The
// instrument keeps the ZVGui pointer for the parameter bridge. Null on builds
// without a window backend, or when the editor could not be made.
ZVGui* createFirstGenEditor(AudioEffectX* effect);
