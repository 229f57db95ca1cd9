#include "editor/widget_base.h"

#include "editor/zv_gui.h"
#include "plugin_base/audio_effect.h"

WidgetBase::WidgetBase(int left, int top, int width, int height, float initialValue)
    : left(left), top(top), width(width), height(height), value(initialValue) {}

void WidgetBase::report() {
    AudioEffect* effect = editor ? editor->getEffect() : nullptr;
    if (!effect) return;
    const float current = value.load(std::memory_order_relaxed);
    if (automated)
        effect->setParameterAutomated(paramIndex, current);
    else
        effect->setParameter(paramIndex, current);
}
