// Frame steps registered by the stand-in's higher modules.
#include "HostFrameHooks.h"
#include "Containers/Array.h"
#include "Containers/Map.h"

namespace
{
TArray<TPair<int32, TFunction<void(float)>>>& Hooks()
{
	static TArray<TPair<int32, TFunction<void(float)>>> List;
	return List;
}
} // namespace

namespace HostFrameHooks
{
int32 AddHook(TFunction<void(float)> Hook)
{
	static int32 NextId = 1;
	Hooks().Add(TPair<int32, TFunction<void(float)>>(NextId, MoveTemp(Hook)));
	return NextId++;
}

void RemoveHook(int32 HookId)
{
	Hooks().RemoveAll([HookId](const TPair<int32, TFunction<void(float)>>& Entry) { return Entry.Key == HookId; });
}

void RunHooks(float DeltaSeconds)
{
	const TArray<TPair<int32, TFunction<void(float)>>> Snapshot = Hooks();
	for (const TPair<int32, TFunction<void(float)>>& Entry : Snapshot)
	{
		Entry.Value(DeltaSeconds);
	}
}
} // namespace HostFrameHooks
