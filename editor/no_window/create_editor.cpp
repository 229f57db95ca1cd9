// Builds without a window backend have no editor: the instrument then leaves
// effFlagsHasEditor clear and hosts show their own generic controls.
#include "editor/nubbel3_editor.h"

ZVGui* createNubbel3Editor(AudioEffectX*) { return nullptr; }
