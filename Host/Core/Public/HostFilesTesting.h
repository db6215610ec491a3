// Stand-in only (no engine counterpart): small disks for tests of what happens when a write cannot be made, so that
// plug-in tests need no platform calls of their own. Mounting needs the right to mount (root, as on CI); callers skip
// what they cannot set up.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

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
} // namespace HostFilesTesting
