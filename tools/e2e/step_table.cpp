// The scenario language's verbs and their procedures.
#include "steps.h"

namespace {

struct StepEntry {
    const char* verb;
    StepProcedure procedure;
};

const StepEntry kSteps[] = {
    {"forest", &StepForest},
    {"start", &StepStart},
    {"attach", &StepAttach},
    {"exit", &StepExit},
    {"calls", &StepCalls},
    {"unanswered", &StepUnanswered},
    {"expect-calls", &StepExpectCalls},
    {"memory", &StepMemory},
    {"expect-released", &StepExpectReleased},
    {"select", &StepSelect},
    {"select-range", &StepSelectRange},
    {"press", &StepPress},
    {"click", &StepClick},
    {"expect-available", &StepExpectAvailable},
    {"expect-selected", &StepExpectSelected},
    {"expect-count", &StepExpectCount},
    {"expect-log", &StepExpectLog},
    {"expect-checked", &StepExpectChecked},
    {"expect-edit", &StepExpectEdit},
    {"choose", &StepChoose},
    {"expect-ticked", &StepExpectTicked},
    {"tick", &StepTick},
    {"ok", &StepOk},
    {"cancel", &StepCancel},
    {"view", &StepView},
    {"post-view", &StepPostView},
    {"expect-config", &StepExpectConfig},
    {"config-size", &StepConfigSize},
    {"escape", &StepEscape},
    {"save", &StepSave},
    {"save-as", &StepSaveAs},
    {"box", &StepBox},
    {"resize", &StepResize},
    {"rects", &StepRects},
    {"expect-moved", &StepExpectMoved},
    {"expect-grown", &StepExpectGrown},
    {"expect-file", &StepExpectFile},
    {"expect-files", &StepExpectFiles},
};

}  // namespace

StepProcedure FindStep(const std::string& verb)
{
    for (const StepEntry& entry : kSteps) {
        if (verb == entry.verb)
            return entry.procedure;
    }
    return nullptr;
}
