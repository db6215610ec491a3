// The HTTP thread: one libcurl multi handle driven by one worker thread, and the queue of work that waits for the
// game thread's Tick.
#pragma once

#include "CoreMinimal.h"
#include <atomic>
#include <curl/curl.h>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

class FCurlHttpRequest;

class FHttpThread
{
public:
	FHttpThread();
	/** Stops the worker; queued game-thread work must have been run or discarded by the owner. */
	~FHttpThread();
	FHttpThread(const FHttpThread&) = delete;
	FHttpThread& operator=(const FHttpThread&) = delete;

	/** Hands a set-up request to the worker, starting it if needed. False while the worker is being stopped. */
	bool AddRequest(TSharedRef<FCurlHttpRequest, ESPMode::ThreadSafe> Request);
	/** Makes the worker look at its requests again (a cancel was asked for). */
	void WakeUp();
	/** Ends every transfer as cancelled, queues their completions and joins the worker. */
	void Stop();

	void AddGameThreadTask(TUniqueFunction<void()>&& Task);
	/** Takes the oldest queued task; false when there is none. */
	bool PopGameThreadTask(TUniqueFunction<void()>& OutTask);
	int32 NumGameThreadTasks() const;
	/** Drops every queued task without running it. */
	void DiscardGameThreadTasks();

	/** Requests between ProcessRequest and their completion on the game thread. */
	std::atomic<int32> NumOutstanding{0};

private:
	using FRequestRef = TSharedRef<FCurlHttpRequest, ESPMode::ThreadSafe>;

	void Run();
	/** Worker: records the outcome and passes the request, with the worker's reference, to the game thread. */
	void FinishTransfer(FRequestRef&& Request, CURLcode Result);

	CURLM* MultiHandle;
	std::thread Worker;

	mutable std::mutex Lock;
	std::vector<FRequestRef> PendingRequests;
	std::deque<TUniqueFunction<void()>> GameThreadTasks;
	bool bRunning = false;
	bool bStopRequested = false;

	/** Worker only: the requests whose easy handles are in the multi handle. */
	std::unordered_map<CURL*, FRequestRef> RunningRequests;
};
