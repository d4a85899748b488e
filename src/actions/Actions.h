#pragma once
// Every page action in one include.

#include "actions/ActionResult.h"
#include "actions/ActionTasks.h"
#include "actions/ButtonActions.h"
#include "actions/DpiRounding.h"
#include "actions/FeatureActions.h"
#include "actions/KeyNameTable.h"
#include "actions/LightingActions.h"
#include "actions/MacroActions.h"
#include "actions/MacroEventActions.h"
#include "actions/PerformanceActions.h"
#include "actions/ProfileActions.h"
