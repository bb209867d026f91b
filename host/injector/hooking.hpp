// The hooking layer: protected access to game code, branch reading and writing, the
// saved-bytes objects and the per-call-site hooks.
#pragma once

#include "branch.h"
#include "call_hooks.h"
#include "function_hooker.h"
#include "function_hooker_base.h"
#include "function_hooker_manager.h"
#include "hooking_assert.h"
#include "protected_memory.h"
#include "scoped_base.h"
#include "scoped_basic.h"
#include "scoped_call.h"
#include "write_jump.h"
