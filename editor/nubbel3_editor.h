// How the third-generation instrument gets its editor.
#pragma once

class AudioEffectX;
class ZVGui;

// A MyGui with this platform's window backend, owned by the caller (store it
// in AudioEffect::editor; the plug-in base deletes it). The instrument keeps
// the ZVGui pointer for the parameter bridge: parameterChanged, refreshAll,
// redrawDirty. Null on builds without a window backend.
ZVGui* createNubbel3Editor(AudioEffectX* effect);
