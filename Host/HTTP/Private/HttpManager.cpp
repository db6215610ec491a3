// The HTTP manager: the game thread's side of the HTTP thread.
#include "HttpManager.h"
#include "HttpThread.h"
#include <chrono>
#include <thread>

namespace
{
/** Flush's pause between ticks while transfers are still running. */
constexpr std::chrono::milliseconds FlushPollInterval(5);
} // namespace

FHttpManager::FHttpManager()
	: Thread(new FHttpThread())
{
}

FHttpManager::~FHttpManager()
{
	// At exit the game thread's objects may already be gone: what is still outstanding is dropped, not completed.
	Thread->Stop();
	Thread->DiscardGameThreadTasks();
	delete Thread;
}

bool FHttpManager::Tick(float DeltaSeconds)
{
	(void)DeltaSeconds;
	// Only the work queued before this Tick runs: a completion that starts a failing request does not loop here.
	for (int32 Budget = Thread->NumGameThreadTasks(); Budget > 0; --Budget)
	{
		TUniqueFunction<void()> Task;
		if (!Thread->PopGameThreadTask(Task))
		{
			break;
		}
		Task();
	}
	return true;
}

void FHttpManager::Flush(EHttpFlushReason FlushReason)
{
	if (FlushReason == EHttpFlushReason::Shutdown)
	{
		Thread->Stop();
	}
	for (;;)
	{
		Tick(0.0f);
		if (Thread->NumOutstanding.load() == 0 && Thread->NumGameThreadTasks() == 0)
		{
			break;
		}
		std::this_thread::sleep_for(FlushPollInterval);
	}
}

void FHttpManager::AddGameThreadTask(TFunction<void()>&& Task)
{
	if (Task)
	{
		Thread->AddGameThreadTask(TUniqueFunction<void()>(MoveTemp(Task)));
	}
}

int32 FHttpManager::GetNumOutstandingRequests() const
{
	return Thread->NumOutstanding.load();
}
