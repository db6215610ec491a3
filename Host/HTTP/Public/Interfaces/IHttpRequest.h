// Stand-in for the engine's Interfaces/IHttpRequest.h: an HTTP request, its status and its completion delegate.
#pragma once

#include "CoreMinimal.h"
#include "HttpFwd.h"
#include "Interfaces/IHttpBase.h"

namespace EHttpRequestStatus
{
enum Type
{
	/** Made but ProcessRequest not called yet. */
	NotStarted,
	/** Handed to the HTTP manager and not completed yet. */
	Processing,
	/** Completed without an answer (timed out, cancelled, dropped, failed to start). */
	Failed,
	/** Completed without an answer because no connection could be made (refused, name not found). */
	Failed_ConnectionError,
	/** Completed with an answer, whatever its HTTP status. */
	Succeeded
};

inline const TCHAR* ToString(const EHttpRequestStatus::Type EnumVal)
{
	switch (EnumVal)
	{
		case NotStarted:
			return TEXT("NotStarted");
		case Processing:
			return TEXT("Processing");
		case Failed:
			return TEXT("Failed");
		case Failed_ConnectionError:
			return TEXT("ConnectionError");
		case Succeeded:
			return TEXT("Succeeded");
	}
	return TEXT("");
}

inline bool IsFinished(const EHttpRequestStatus::Type Status)
{
	return Status == Failed || Status == Failed_ConnectionError || Status == Succeeded;
}
} // namespace EHttpRequestStatus

/** Called on the game thread when a request completes: the request, its answer (null without one), whether an answer
 * came. */
DECLARE_DELEGATE_ThreeParams(FHttpRequestCompleteDelegate, FHttpRequestPtr /*Request*/, FHttpResponsePtr /*Response*/,
	bool /*bConnectedSuccessfully*/);

/** One HTTP exchange. Made by FHttpModule::CreateRequest; sent by ProcessRequest; reusable once completed. */
class IHttpRequest : public IHttpBase, public TSharedFromThis<IHttpRequest, ESPMode::ThreadSafe>
{
public:
	/** The verb, "GET" unless set. */
	virtual FString GetVerb() const = 0;
	/** Sets the verb ("GET", "POST", "PUT", "DELETE", or any other); kept upper-case. */
	virtual void SetVerb(const FString& Verb) = 0;
	/** Sets the URL; only http and https are accepted when the request starts. */
	virtual void SetURL(const FString& URL) = 0;
	/** Sets the body to a copy of the bytes. */
	virtual void SetContent(const TArray<uint8>& ContentPayload) = 0;
	/** Sets the body to the bytes, taking them over without a copy. */
	virtual void SetContent(TArray<uint8>&& ContentPayload) = 0;
	/** Sets the body to the text encoded as UTF-8. */
	virtual void SetContentAsString(const FString& ContentString) = 0;
	/** Sends the file's bytes as the body, read while the request runs; false when the file cannot be opened. */
	virtual bool SetContentAsStreamedFile(const FString& Filename) = 0;
	/** Sets a header, replacing any earlier value; an empty value keeps the header from being sent. */
	virtual void SetHeader(const FString& HeaderName, const FString& HeaderValue) = 0;
	/** Appends ", " and the value to a header already set, or sets it. */
	virtual void AppendToHeader(const FString& HeaderName, const FString& AdditionalHeaderValue) = 0;
	/** Limits the whole request (connection, upload and answer) to this many seconds. */
	virtual void SetTimeout(float InTimeoutSecs) = 0;
	/** Goes back to the module's default: no limit. */
	virtual void ClearTimeout() = 0;
	/** The limit set with SetTimeout, unset when none was. */
	virtual TOptional<float> GetTimeout() const = 0;

	/** Starts the request. False when it cannot start; its completion then still comes, on the next Tick, without an
	 * answer. */
	virtual bool ProcessRequest() = 0;
	/** The delegate called once when the request completes; it stays bound as long as the request lives. */
	virtual FHttpRequestCompleteDelegate& OnProcessRequestComplete() = 0;
	/** Stops a running request; it completes on the next Tick without an answer. */
	virtual void CancelRequest() = 0;

	virtual EHttpRequestStatus::Type GetStatus() const = 0;
	/** The answer once the request has completed with one; null before and without one. */
	virtual const FHttpResponsePtr GetResponse() const = 0;
	/** Called by the manager's Tick; nothing to do for requests whose transfer runs on the HTTP thread. */
	virtual void Tick(float DeltaSeconds) = 0;
	/** Seconds since ProcessRequest, frozen once the request has completed. */
	virtual float GetElapsedTime() const = 0;
};
