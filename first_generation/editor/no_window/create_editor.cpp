// Builds without a window backend have no editor: the instrument then leaves
// effFlagsHasEditor clear and hosts show their own generic controls.
#include "first_generation/editor/first_gen_editor.h"

ZVGui* createFirstGenEditor(AudioEffectX*) { return nullptr; }
