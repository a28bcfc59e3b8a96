// The verbs of the scenario language, each a procedure over the session.
#ifndef QUILLMERE_E2E_STEPS_H
#define QUILLMERE_E2E_STEPS_H

#include "driver_session.h"

using StepProcedure = bool (*)(DriverSession& session, const ScenarioStep& step, std::string& error);

// The procedure of a verb, or null for an unknown verb.
StepProcedure FindStep(const std::string& verb);

// Program steps: forest FILE, start [searching], attach, exit CODE, calls, unanswered,
// expect-calls, memory, expect-released.
bool StepForest(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepStart(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepAttach(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExit(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepCalls(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepUnanswered(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectCalls(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepMemory(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectReleased(DriverSession& session, const ScenarioStep& step, std::string& error);

// Main window steps: select LIST NAME..., select-range LIST FIRST LAST|last [STEP], press BUTTON,
// click true|false|not-set, expect-available, expect-selected, expect-count LIST N, expect-log,
// expect-checked true|false|not-set, expect-edit tgs|tkt TEXT.
bool StepSelect(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepSelectRange(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepPress(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepClick(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectAvailable(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectSelected(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectCount(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectLog(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectChecked(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectEdit(DriverSession& session, const ScenarioStep& step, std::string& error);

// Dialog steps: choose tgs|tkt, expect-ticked NAME..., tick NAME..., ok, cancel, view,
// post-view, expect-config, config-size, escape, save, save-as NAME, box TEXT CAPTION BUTTON.
bool StepChoose(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectTicked(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepTick(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepOk(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepCancel(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepView(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectConfig(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepPostView(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepConfigSize(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepEscape(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepSave(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepSaveAs(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepBox(DriverSession& session, const ScenarioStep& step, std::string& error);

// Window geometry steps: resize DW DH, rects, expect-moved ID DL DT DR DB, expect-grown DW DH.
bool StepResize(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepRects(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectMoved(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectGrown(DriverSession& session, const ScenarioStep& step, std::string& error);

// File steps: expect-file NAME, expect-files.
bool StepExpectFile(DriverSession& session, const ScenarioStep& step, std::string& error);
bool StepExpectFiles(DriverSession& session, const ScenarioStep& step, std::string& error);

#endif
