// Load benchmark of the service client: bursts of 50 model uploads and 200 job polls in flight at once against the
// local service, through TarvolineApi, bounded in time. Every callback must run exactly once, the service must have
// received every request exactly once (no request lost, none sent twice), and resident memory must come back near its
// level before the bursts. Times are reported as ratios against the same requests sent one after another in the same
// run, so that the figures mean the same on a busy machine and an idle one.
//
//   load-bench [--uploads N] [--polls N] [--rounds N] [--limit SECONDS] [--sim PATH]
//
// Prints one line per figure and ends with "LOAD OK" or "LOAD FAILED" (exit code 0 or 1).

#include "BenchSupport.h"
#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "TarvolineApi.h"
#include "TarvolineRecords.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{
using Bench::Clock;
using Bench::SecondsSince;
using Bench::StatusKb;

const TCHAR* const Key = TEXT("tv_demo_key");

/** Resident memory once the allocator has handed back what it keeps free. */
long SettledRssKb()
{
	malloc_trim(0);
	return StatusKb("VmRSS");
}

/** Ticks the HTTP manager as the editor's frame does (60 a second) until Done holds or the time is up. */
bool PumpUntil(const std::function<bool()>& Done, double TimeoutSeconds)
{
	const Clock::time_point Start = Clock::now();
	while (!Done())
	{
		if (SecondsSince(Start) > TimeoutSeconds)
		{
			return false;
		}
		FHttpModule::Get().GetHttpManager().Tick(1.0f / 60.0f);
		std::this_thread::sleep_for(std::chrono::microseconds(16667));
	}
	return true;
}

/** One request to the service's control endpoints; the answer's body, empty when none came. */
std::string Control(const std::string& Base, const char* Verb, const std::string& Path, const std::string& Body = "")
{
	auto Answer = std::make_shared<std::string>();
	auto bDone = std::make_shared<bool>(false);
	TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Request = FHttpModule::Get().CreateRequest();
	Request->SetVerb(UTF8_TO_TCHAR(Verb));
	Request->SetURL(UTF8_TO_TCHAR((Base + Path).c_str()));
	if (!Body.empty())
	{
		Request->SetHeader(TEXT("Content-Type"), TEXT("application/json"));
		Request->SetContentAsString(UTF8_TO_TCHAR(Body.c_str()));
	}
	Request->SetTimeout(30.0f);
	Request->OnProcessRequestComplete().BindLambda(
		[Answer, bDone](FHttpRequestPtr, FHttpResponsePtr Response, bool)
		{
			if (Response.IsValid())
			{
				*Answer = std::string(FTCHARToUTF8(*Response->GetContentAsString()).Get());
			}
			*bDone = true;
		});
	Request->ProcessRequest();
	PumpUntil(
		[bDone]()
		{
			return *bDone;
		},
		60.0);
	return *Answer;
}

/** How many recorded requests the service has for this method and path prefix. */
int RecordedCount(const std::string& Base, const char* Method, const char* PathPrefix)
{
	const std::string Body =
		Control(Base, "GET", std::string("/_sim/requests?method=") + Method + "&path=" + PathPrefix);
	TSharedPtr<FJsonObject> Root;
	const TArray<TSharedPtr<FJsonValue>>* Requests = nullptr;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(FString(UTF8_TO_TCHAR(Body.c_str()))), Root) ||
		!Root.IsValid() || !Root->TryGetArrayField(TEXT("requests"), Requests))
	{
		return -1;
	}
	return Requests->Num();
}

/** Callback counts of one call: exactly one of the two must reach 1. */
struct FCalls
{
	std::vector<int> Successes;
	std::vector<int> Failures;
	std::vector<std::string> Messages;
	int Answered = 0;

	explicit FCalls(int Count)
		: Successes(Count, 0)
		, Failures(Count, 0)
		, Messages(Count)
	{
	}
};

struct FBurstResult
{
	double Seconds = 0.0;
	bool bInTime = false;
	int Succeeded = 0;
	int Failed = 0;
	int Repeated = 0;
	int Missing = 0;
	std::string FirstFailure;
};

FBurstResult Tally(const FCalls& Calls, double Seconds, bool bInTime)
{
	FBurstResult Result;
	Result.Seconds = Seconds;
	Result.bInTime = bInTime;
	for (size_t Index = 0; Index < Calls.Successes.size(); ++Index)
	{
		const int Total = Calls.Successes[Index] + Calls.Failures[Index];
		Result.Succeeded += Calls.Successes[Index] == 1 && Total == 1 ? 1 : 0;
		Result.Failed += Calls.Failures[Index] > 0 ? 1 : 0;
		Result.Repeated += Total > 1 ? 1 : 0;
		Result.Missing += Total == 0 ? 1 : 0;
		if (Calls.Failures[Index] > 0 && Result.FirstFailure.empty())
		{
			Result.FirstFailure = Calls.Messages[Index];
		}
	}
	return Result;
}

/** Sends Uploads uploads and Polls polls at once (or one after another when bSequential) and waits for every answer. */
FBurstResult RunBurst(
	int Uploads, int Polls, const FString& ModelFile, const FString& JobId, double LimitSeconds, bool bSequential)
{
	const int Count = Uploads + Polls;
	auto Calls = std::make_shared<FCalls>(Count);
	auto Start = [Calls, Uploads, ModelFile, JobId](int Index)
	{
		auto OnError = [Calls, Index](const FString& Message, int32 Status)
		{
			++Calls->Failures[Index];
			++Calls->Answered;
			Calls->Messages[Index] = std::to_string(Status) + " " + std::string(FTCHARToUTF8(*Message).Get());
		};
		if (Index < Uploads)
		{
			TarvolineApi::UploadModel(
				Key, ModelFile,
				[Calls, Index](const FTarvolineCharacter&)
				{
					++Calls->Successes[Index];
					++Calls->Answered;
				},
				OnError);
		}
		else
		{
			TarvolineApi::FetchJob(
				Key, JobId,
				[Calls, Index](const FTarvolineJob&)
				{
					++Calls->Successes[Index];
					++Calls->Answered;
				},
				OnError);
		}
	};
	const Clock::time_point Begin = Clock::now();
	bool bInTime = true;
	if (bSequential)
	{
		for (int Index = 0; Index < Count && bInTime; ++Index)
		{
			Start(Index);
			bInTime = PumpUntil(
				[Calls, Index]()
				{
					return Calls->Answered > Index;
				},
				LimitSeconds - SecondsSince(Begin));
		}
	}
	else
	{
		// Polls and uploads interleaved, as a panel with many users' work would send them.
		for (int Index = 0, Upload = 0, Poll = Uploads; Index < Count; ++Index)
		{
			const bool bUpload = Upload < Uploads && (Poll >= Count || Index % 5 == 0);
			Start(bUpload ? Upload++ : Poll++);
		}
		bInTime = PumpUntil(
			[Calls, Count]()
			{
				return Calls->Answered >= Count;
			},
			LimitSeconds);
	}
	const double Seconds = SecondsSince(Begin);
	// Long enough for a second callback of any call to show.
	PumpUntil(
		[]()
		{
			return false;
		},
		0.5);
	return Tally(*Calls, Seconds, bInTime);
}

std::string Argument(int Argc, char** Argv, const char* Name, const std::string& Default)
{
	for (int Index = 1; Index + 1 < Argc; ++Index)
	{
		if (std::strcmp(Argv[Index], Name) == 0)
		{
			return Argv[Index + 1];
		}
	}
	return Default;
}
} // namespace

int main(int Argc, char** Argv)
{
	const int Uploads = std::atoi(Argument(Argc, Argv, "--uploads", "50").c_str());
	const int Polls = std::atoi(Argument(Argc, Argv, "--polls", "200").c_str());
	const int Rounds = std::max(1, std::atoi(Argument(Argc, Argv, "--rounds", "3").c_str()));
	const double Limit = std::atof(Argument(Argc, Argv, "--limit", "120").c_str());
	const std::string SimBinary = Argument(Argc, Argv, "--sim", TARVOLINE_SIM_PATH);
	const FString ModelFile = UTF8_TO_TCHAR(TARVOLINE_SOURCE_DIR "/TestData/Models/humanoid_mesh.fbx");

	char Template[] = "/tmp/load-bench-XXXXXX";
	const char* Scratch = mkdtemp(Template);
	if (Scratch == nullptr)
	{
		std::fprintf(stderr, "Could not make a scratch folder.\n");
		return 1;
	}
	const fs::path WorkDir(Scratch);
	bool bOk = true;
	{
		FBenchSimulator Simulator;
		if (!Simulator.Start(SimBinary, WorkDir))
		{
			std::fprintf(stderr, "Could not start the local service %s.\n", SimBinary.c_str());
			return 1;
		}
		setenv("TARVOLINE_API", Simulator.Url.c_str(), 1);

		// A job to poll: one upload and one generate, finished at once at time scale 0.
		FString CharacterId;
		bool bAnswered = false;
		TarvolineApi::UploadModel(
			Key, ModelFile,
			[&CharacterId, &bAnswered](const FTarvolineCharacter& Character)
			{
				CharacterId = Character.Id;
				bAnswered = true;
			},
			[&bAnswered](const FString&, int32)
			{
				bAnswered = true;
			});
		PumpUntil(
			[&bAnswered]()
			{
				return bAnswered;
			},
			60.0);
		FString JobId;
		bAnswered = false;
		TarvolineApi::Generate(
			Key, TEXT("a person waves"), CharacterId,
			[&JobId, &bAnswered](const FTarvolineJob& Job)
			{
				JobId = Job.Id;
				bAnswered = true;
			},
			[&bAnswered](const FString&, int32)
			{
				bAnswered = true;
			});
		PumpUntil(
			[&bAnswered]()
			{
				return bAnswered;
			},
			60.0);
		if (JobId.IsEmpty())
		{
			std::fprintf(stderr, "Could not make a job to poll.\n");
			return 1;
		}

		// Reference: a tenth of the requests, one after another; then a warm-up burst before memory is measured.
		const int RefUploads = std::max(1, Uploads / 10);
		const int RefPolls = std::max(1, Polls / 10);
		const FBurstResult Reference = RunBurst(RefUploads, RefPolls, ModelFile, JobId, Limit, true);
		const double PerRequest = Reference.Seconds / (RefUploads + RefPolls);
		RunBurst(Uploads / 5, Polls / 5, ModelFile, JobId, Limit, false);
		const long Baseline = SettledRssKb();
		std::printf("reference: %d uploads and %d polls one after another in %.3f s, %.1f ms a request\n", RefUploads,
			RefPolls, Reference.Seconds, PerRequest * 1000.0);
		std::printf("baseline RSS after a warm-up burst: %.1f MiB\n", Baseline / 1024.0);

		long Peak = Baseline;
		long After = Baseline;
		for (int Round = 1; Round <= Rounds; ++Round)
		{
			Control(Simulator.Url, "DELETE", "/_sim/requests");
			const FBurstResult Burst = RunBurst(Uploads, Polls, ModelFile, JobId, Limit, false);
			Peak = std::max(Peak, StatusKb("VmHWM"));
			After = SettledRssKb();
			const int UploadsSeen = RecordedCount(Simulator.Url, "POST", "/v1/assets");
			const int PollsSeen = RecordedCount(Simulator.Url, "GET", "/v1/jobs/");
			const double Serial = PerRequest * (Uploads + Polls);
			std::printf("round %d: %d uploads + %d polls in flight: %.3f s (%.2f x the same sent one after another, "
						"%.2f x one request's time); callbacks: %d once and ok, %d failed, %d more than once, %d "
						"never; service saw %d uploads, %d polls; RSS %.2f x baseline\n",
				Round, Uploads, Polls, Burst.Seconds, Burst.Seconds / Serial, Burst.Seconds / PerRequest,
				Burst.Succeeded, Burst.Failed, Burst.Repeated, Burst.Missing, UploadsSeen, PollsSeen,
				static_cast<double>(After) / static_cast<double>(Baseline));
			if (!Burst.FirstFailure.empty())
			{
				std::printf("  first failure: %s\n", Burst.FirstFailure.c_str());
			}
			const bool bRoundOk = Burst.bInTime && Burst.Succeeded == Uploads + Polls && Burst.Repeated == 0 &&
								  Burst.Missing == 0 && UploadsSeen == Uploads && PollsSeen == Polls;
			if (!Burst.bInTime)
			{
				std::printf("  not all answers arrived within %.0f s\n", Limit);
			}
			bOk = bOk && bRoundOk;
		}
		const double PeakRatio = static_cast<double>(Peak) / static_cast<double>(Baseline);
		const double AfterRatio = static_cast<double>(After) / static_cast<double>(Baseline);
		// "Near": within a fifth of the baseline after every request and callback has been released.
		const bool bMemoryBack = AfterRatio <= 1.2;
		std::printf("memory: peak %.2f x baseline, after the last round %.2f x baseline (%+.1f MiB): %s\n", PeakRatio,
			AfterRatio, (After - Baseline) / 1024.0, bMemoryBack ? "back near baseline" : "NOT back near baseline");
		bOk = bOk && bMemoryBack;
	}
	std::error_code Ignored;
	fs::remove_all(WorkDir, Ignored);
	std::printf("%s\n", bOk ? "LOAD OK" : "LOAD FAILED");
	return bOk ? 0 : 1;
}
