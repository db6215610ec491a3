// Stand-in only (no engine counterpart): the editor's main loop, for tests. One frame completes HTTP requests,
// ticks the core ticker (with the time dilation of HostTimeDilation.h), runs the frame hooks (the UI's paint pass
// among them) and counts the frame, in the editor's order.
#pragma once

#include "CoreMinimal.h"
#include "HostTimeDilation.h"
#include "Templates/Function.h"

namespace HostEditorLoop
{
/** One frame of DeltaSeconds (the core ticker gets DeltaSeconds times the time dilation); returns at once. */
void Tick(float DeltaSeconds);

/** Frames at about 60 per second, each with its real elapsed time, for WallSeconds of wall-clock time. */
void RunFor(double WallSeconds);

/** Frames at about 60 per second until Done() answers true (checked before each frame) or TimeoutWallSeconds of
 *  wall-clock time pass; true when Done() answered true. */
bool RunUntil(const TFunction<bool()>& Done, double TimeoutWallSeconds);

/** FrameCount frames of DeltaSeconds each, without waiting between them. */
void RunFrames(int32 FrameCount, float DeltaSeconds = 1.0f / 60.0f);
} // namespace HostEditorLoop
