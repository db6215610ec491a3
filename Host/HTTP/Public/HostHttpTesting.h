// Stand-in only (no engine counterpart): a ceiling on every request's time limit, so that tests of what a caller
// does when an answer comes too late need not wait out the caller's own long limit.
#pragma once

#include "CoreTypes.h"

namespace HostHttpTesting
{
/** Requests started from now on end after at most Seconds (whatever their own limit); 0 lifts the ceiling. */
void SetTimeoutCeiling(float Seconds);

/** The time limit the request started last asked for, before any ceiling (0: none). */
float GetLastStartedTimeout();
} // namespace HostHttpTesting
