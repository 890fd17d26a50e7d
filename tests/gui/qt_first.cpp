// Qt's keyword macros (signals, slots, emit, foreach) are defined before every core header here:
// no core header may use those words as names, so window classes can include the core in any order
// and use signals and slots. This file only has to compile.
#include <QObject>

#include "runner/run_panel_model.h"
#include "script/engine/engine.h"
#include "script/engine/interpreter.h"
#include "script/engine/nodes.h"
#include "session/workbench.h"
