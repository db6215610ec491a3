// Helpers shared by the plug-in's automation tests: talking to the local Tarvoline service the tests run against,
// recording what a client call reported, and chaining latent steps. Engine API only, so the tests also run in an
// editor pointed at a local service (TARVOLINE_API) started by hand with its control endpoints allowed.

#pragma once

#if WITH_DEV_AUTOMATION_TESTS

#include "CoreMinimal.h"
#include "HAL/PlatformTime.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include "Misc/AutomationTest.h"

namespace TarvolineTest
{
/** Keys the local service is seeded with: plenty of credits, and too few for any motion. */
inline const TCHAR* const DemoKey = TEXT("tv_demo_key");
inline const TCHAR* const PoorKey = TEXT("tv_poor_key");

/** The local service's base URL: the control address the runner exported, else TARVOLINE_API. */
inline FString ServiceUrl()
{
	FString Url = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_SIM_CONTROL"));
	if (Url.IsEmpty())
	{
		Url = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_API"));
	}
	Url.RemoveFromEnd(TEXT("/"));
	return Url;
}

/** One raw exchange with the local service, filled in when it completes. */
struct FExchange
{
	bool bDone = false;
	bool bConnected = false;
	int32 Status = 0;
	FString Body;
	TArray<uint8> Bytes;
};

/** Sends Verb Url with an optional JSON body; the returned record fills in on completion. */
inline TSharedRef<FExchange> Send(const FString& Verb, const FString& Url, const FString& JsonBody = FString())
{
	TSharedRef<FExchange> Exchange = MakeShared<FExchange>();
	TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Request = FHttpModule::Get().CreateRequest();
	Request->SetVerb(Verb);
	Request->SetURL(Url);
	if (!JsonBody.IsEmpty())
	{
		Request->SetHeader(TEXT("Content-Type"), TEXT("application/json"));
		Request->SetContentAsString(JsonBody);
	}
	Request->SetTimeout(30.0f);
	Request->OnProcessRequestComplete().BindLambda(
		[Exchange](FHttpRequestPtr, FHttpResponsePtr Response, bool bConnected)
		{
			Exchange->bDone = true;
			Exchange->bConnected = bConnected;
			if (Response.IsValid())
			{
				Exchange->Status = Response->GetResponseCode();
				Exchange->Body = Response->GetContentAsString();
				Exchange->Bytes = Response->GetContent();
			}
		});
	Request->ProcessRequest();
	return Exchange;
}

/** A request to the local service's control endpoints ("/_sim/faults", "/_sim/requests", ...). */
inline TSharedRef<FExchange> Control(const FString& Verb, const FString& Path, const FString& JsonBody = FString())
{
	return Send(Verb, ServiceUrl() + Path, JsonBody);
}

/** What one client call reported: which callback ran, how often, and with what. */
template <typename RecordType>
struct TOutcome
{
	int32 Successes = 0;
	int32 Failures = 0;
	RecordType Record;
	FString Message;
	int32 Status = -1;

	bool IsDone() const { return Successes + Failures > 0; }
	bool Succeeded() const { return Successes == 1 && Failures == 0; }
	bool Failed() const { return Successes == 0 && Failures == 1; }
};

/** A record type for operations whose success carries nothing. */
struct FNothing
{
};

/** Success and failure callbacks that fill an outcome; hand them straight to a client operation. */
template <typename RecordType>
TFunction<void(const RecordType&)> OnSuccess(const TSharedRef<TOutcome<RecordType>>& Outcome)
{
	return [Outcome](const RecordType& Record)
	{
		++Outcome->Successes;
		Outcome->Record = Record;
	};
}

inline TFunction<void()> OnDone(const TSharedRef<TOutcome<FNothing>>& Outcome)
{
	return [Outcome]()
	{
		++Outcome->Successes;
	};
}

template <typename RecordType>
TFunction<void(const FString&, int32)> OnFailure(const TSharedRef<TOutcome<RecordType>>& Outcome)
{
	return [Outcome](const FString& Message, int32 Status)
	{
		++Outcome->Failures;
		Outcome->Message = Message;
		Outcome->Status = Status;
	};
}

/** Enqueues a step that runs once, after every step enqueued before it. */
inline void Then(TFunction<void()> Step)
{
	ADD_LATENT_AUTOMATION_COMMAND(FFunctionLatentCommand(
		[Step]()
		{
			Step();
			return true;
		}));
}

/** Enqueues a wait until Done() holds; after TimeoutSeconds the test fails with What and the wait ends. */
inline void WaitUntil(FAutomationTestBase* Test, const FString& What, TFunction<bool()> Done, double TimeoutSeconds = 30.0)
{
	TSharedRef<double> Deadline = MakeShared<double>(0.0);
	ADD_LATENT_AUTOMATION_COMMAND(FFunctionLatentCommand(
		[Test, What, Done, Deadline, TimeoutSeconds]()
		{
			if (Done())
			{
				return true;
			}
			const double Now = FPlatformTime::Seconds();
			if (*Deadline == 0.0)
			{
				*Deadline = Now + TimeoutSeconds;
			}
			else if (Now > *Deadline)
			{
				Test->AddError(FString::Printf(TEXT("Timed out waiting for %s."), *What));
				return true;
			}
			return false;
		}));
}

/** Enqueues a wait of at least Seconds of wall time (answers that must not arrive, polls that must not run). */
inline void Idle(double Seconds)
{
	TSharedRef<double> Until = MakeShared<double>(0.0);
	ADD_LATENT_AUTOMATION_COMMAND(FFunctionLatentCommand(
		[Until, Seconds]()
		{
			const double Now = FPlatformTime::Seconds();
			if (*Until == 0.0)
			{
				*Until = Now + Seconds;
			}
			return Now >= *Until;
		}));
}
}

#endif
