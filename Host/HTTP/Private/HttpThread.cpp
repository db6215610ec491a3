// The HTTP thread: every transfer runs on one multi handle so that connections are shared and the game thread never
// blocks on the network.
#include "HttpThread.h"
#include "CurlHttp.h"

namespace
{
/** How long the worker sleeps in curl_multi_poll when nothing happens; new work wakes it at once. */
constexpr int IdlePollMilliseconds = 1000;

/**
 * At most this many connections to one server at once, as the engine's HttpMaxConnectionsPerServer default: more
 * requests wait for a free connection instead of opening hundreds of sockets against one service.
 */
constexpr long MaxConnectionsPerServer = 16;
} // namespace

FHttpThread::FHttpThread()
	: MultiHandle(curl_multi_init())
{
	check(MultiHandle != nullptr);
	curl_multi_setopt(MultiHandle, CURLMOPT_MAX_HOST_CONNECTIONS, MaxConnectionsPerServer);
}

FHttpThread::~FHttpThread()
{
	Stop();
	curl_multi_cleanup(MultiHandle);
}

bool FHttpThread::AddRequest(FRequestRef Request)
{
	{
		std::lock_guard<std::mutex> Guard(Lock);
		if (bStopRequested)
		{
			return false;
		}
		PendingRequests.push_back(MoveTemp(Request));
		if (!bRunning)
		{
			bRunning = true;
			Worker = std::thread(
				[this]()
				{
					Run();
				});
			return true;
		}
	}
	WakeUp();
	return true;
}

void FHttpThread::WakeUp()
{
	curl_multi_wakeup(MultiHandle);
}

void FHttpThread::Stop()
{
	{
		std::lock_guard<std::mutex> Guard(Lock);
		if (!bRunning)
		{
			return;
		}
		bStopRequested = true;
	}
	WakeUp();
	Worker.join();
	std::lock_guard<std::mutex> Guard(Lock);
	bRunning = false;
	bStopRequested = false;
}

void FHttpThread::AddGameThreadTask(TUniqueFunction<void()>&& Task)
{
	std::lock_guard<std::mutex> Guard(Lock);
	GameThreadTasks.push_back(MoveTemp(Task));
}

bool FHttpThread::PopGameThreadTask(TUniqueFunction<void()>& OutTask)
{
	std::lock_guard<std::mutex> Guard(Lock);
	if (GameThreadTasks.empty())
	{
		return false;
	}
	OutTask = MoveTemp(GameThreadTasks.front());
	GameThreadTasks.pop_front();
	return true;
}

int32 FHttpThread::NumGameThreadTasks() const
{
	std::lock_guard<std::mutex> Guard(Lock);
	return (int32)GameThreadTasks.size();
}

void FHttpThread::DiscardGameThreadTasks()
{
	std::deque<TUniqueFunction<void()>> Discarded;
	{
		std::lock_guard<std::mutex> Guard(Lock);
		Discarded.swap(GameThreadTasks);
	}
	// Destroyed outside the lock: a dying request's delegate captures may start other requests.
	Discarded.clear();
}

void FHttpThread::FinishTransfer(FRequestRef&& Request, CURLcode Result)
{
	Request->SetTransferResult(Result);
	// The reference moves into the task so that the request is released on the game thread, never here: its
	// delegate's captures belong to the game thread.
	AddGameThreadTask(
		[Finished = MoveTemp(Request)]()
		{
			Finished->FinishedRequest();
		});
}

void FHttpThread::Run()
{
	for (;;)
	{
		std::vector<FRequestRef> NewRequests;
		bool bStopping = false;
		{
			std::lock_guard<std::mutex> Guard(Lock);
			NewRequests.swap(PendingRequests);
			bStopping = bStopRequested;
		}

		for (FRequestRef& Request : NewRequests)
		{
			CURL* const Easy = Request->GetEasyHandle();
			if (curl_multi_add_handle(MultiHandle, Easy) != CURLM_OK)
			{
				FinishTransfer(MoveTemp(Request), CURLE_FAILED_INIT);
				continue;
			}
			RunningRequests.emplace(Easy, MoveTemp(Request));
		}

		// Cancelled requests, and at shutdown all of them, leave the multi handle before it runs again.
		for (auto It = RunningRequests.begin(); It != RunningRequests.end();)
		{
			if (bStopping || It->second->IsCancelRequested())
			{
				curl_multi_remove_handle(MultiHandle, It->first);
				FRequestRef Request = MoveTemp(It->second);
				It = RunningRequests.erase(It);
				FinishTransfer(MoveTemp(Request), CURLE_ABORTED_BY_CALLBACK);
			}
			else
			{
				++It;
			}
		}
		if (bStopping)
		{
			return;
		}

		int RunningHandles = 0;
		curl_multi_perform(MultiHandle, &RunningHandles);

		int MessagesLeft = 0;
		while (CURLMsg* Message = curl_multi_info_read(MultiHandle, &MessagesLeft))
		{
			if (Message->msg != CURLMSG_DONE)
			{
				continue;
			}
			// The message is invalid once its handle leaves the multi handle.
			CURL* const Easy = Message->easy_handle;
			const CURLcode Result = Message->data.result;
			curl_multi_remove_handle(MultiHandle, Easy);
			auto It = RunningRequests.find(Easy);
			if (It != RunningRequests.end())
			{
				FRequestRef Request = MoveTemp(It->second);
				RunningRequests.erase(It);
				FinishTransfer(MoveTemp(Request), Result);
			}
		}

		curl_multi_poll(MultiHandle, nullptr, 0, IdlePollMilliseconds, nullptr);
	}
}
