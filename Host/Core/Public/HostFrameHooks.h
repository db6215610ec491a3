// Stand-in only (no engine counterpart): work that the host's frame loop runs after HTTP and the core ticker, such as
// the headless UI's paint pass. Modules above Core register here so the runner need not know them.
#pragma once

#include "CoreTypes.h"
#include "Templates/Function.h"

namespace HostFrameHooks
{
/** Adds a step to every frame; returns an id for RemoveHook. */
int32 AddHook(TFunction<void(float)> Hook);
void RemoveHook(int32 HookId);
/** Runs every registered step with the frame's delta time. */
void RunHooks(float DeltaSeconds);
} // namespace HostFrameHooks
