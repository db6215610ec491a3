// Stand-in only (no engine counterpart): small disks for tests of what happens when a write cannot be made, and a
// writer killed mid-write for tests of what a crash leaves, so that plug-in tests need no platform calls of their own. Mounting needs the right to mount (root, as on CI); callers skip
// what they cannot set up.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Templates/Function.h"

namespace HostFilesTesting
{
/** Mounts an empty memory disk of SizeKiB at Dir (made if missing); false when mounting is not permitted. */
bool MountSmallDisk(const FString& Dir, int32 SizeKiB);
/** Makes a mounted small disk read-only, keeping its files; false on failure. */
bool MakeDiskReadOnly(const FString& Dir);
/** Fills the disk holding Dir with one file until a write fails. */
void FillDisk(const FString& Dir);
/** Unmounts a disk mounted by MountSmallDisk, dropping everything on it. */
void UnmountSmallDisk(const FString& Dir);
/**
 * Runs Writer over and over (Round 0, 1, ...) in a child process forked from this one and kills the child with
 * SIGKILL DelayMs after its first round began, as a crash or a kill of the editor would. The child must only write
 * files: it has none of this process's other threads. False when no child could be made or it did not die by the kill.
 */
bool KillWriterAfter(int32 DelayMs, TFunction<void(int32 Round)> Writer);
} // namespace HostFilesTesting
