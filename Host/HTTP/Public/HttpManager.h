// Stand-in for the engine's HttpManager.h: the manager that runs requests on the HTTP thread and completes them
// on the game thread.
#pragma once

#include "CoreMinimal.h"
#include "HttpFwd.h"

class FHttpThread;

/** Why the manager is asked to flush. */
enum class EHttpFlushReason : uint8
{
	/** Waits until every outstanding request has completed. */
	Default,
	/** As Default. */
	Background,
	/** Cancels every outstanding request, completes it, and stops the HTTP thread. */
	Shutdown,
	/** As Default. */
	FullFlush,
	Count
};

inline const TCHAR* LexToString(const EHttpFlushReason FlushReason)
{
	switch (FlushReason)
	{
		case EHttpFlushReason::Default:
			return TEXT("Default");
		case EHttpFlushReason::Background:
			return TEXT("Background");
		case EHttpFlushReason::Shutdown:
			return TEXT("Shutdown");
		case EHttpFlushReason::FullFlush:
			return TEXT("FullFlush");
		case EHttpFlushReason::Count:
			break;
	}
	return TEXT("Invalid");
}

/**
 * Owns the requests between ProcessRequest and their completion. Transfers run on one HTTP thread; completions and
 * game-thread tasks run only inside Tick, on the thread that calls it (the game thread), in the order they finished.
 */
class FHttpManager
{
public:
	FHttpManager();
	/** Cancels what is still running and drops it without calling its delegates. */
	~FHttpManager();
	FHttpManager(const FHttpManager&) = delete;
	FHttpManager& operator=(const FHttpManager&) = delete;

	/** Completes the requests that have finished and runs queued game-thread tasks. Returns true (keep ticking). */
	bool Tick(float DeltaSeconds);

	/**
	 * Ticks until no request is outstanding. Shutdown first cancels every outstanding request, so each completes here
	 * without an answer (its delegate is called, connected false), and stops the HTTP thread; a later request starts
	 * it again.
	 */
	void Flush(EHttpFlushReason FlushReason);

	/** Runs the task on the game thread during a later Tick, in order with request completions. */
	void AddGameThreadTask(TFunction<void()>&& Task);

	/** The number of requests started and not completed yet. */
	int32 GetNumOutstandingRequests() const;

private:
	friend class FCurlHttpRequest;
	FHttpThread* Thread;
};
