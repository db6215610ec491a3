// Stand-in for the engine's Interfaces/IHttpRequest.h: an HTTP request, its status and its completion delegate.
#pragma once

#include "CoreMinimal.h"
#include "HttpFwd.h"
#include "Interfaces/IHttpBase.h"
#include "Serialization/Archive.h"

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

/** Reads (upload) or takes (download) Length bytes at Ptr on the HTTP thread; false stops the request. */
DECLARE_DELEGATE_RetVal_TwoParams(bool, FHttpRequestStreamDelegate, void* /*Ptr*/, int64 /*Length*/);

/** An archive whose bytes come from, or go to, a stream delegate; a delegate that returns false sets the error. */
class FArchiveWithDelegate final : public FArchive
{
public:
	FArchiveWithDelegate(FHttpRequestStreamDelegate InStreamDelegate)
		: StreamDelegate(InStreamDelegate)
	{
	}

	virtual void Serialize(void* V, int64 Length) override
	{
		if (!StreamDelegate.Execute(V, Length))
		{
			SetError();
		}
	}

private:
	FHttpRequestStreamDelegate StreamDelegate;
};

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
	/**
	 * Sends the archive's bytes as the body, read on the HTTP thread as the transfer asks for them (Tell, Seek,
	 * Serialize); Content-Length comes from its TotalSize unless set. A POST needs a Content-Type header. False while
	 * the request is in flight.
	 */
	virtual bool SetContentFromStream(TSharedRef<FArchive, ESPMode::ThreadSafe> Stream) = 0;
	/** As SetContentFromStream, with the bytes read from a delegate on the HTTP thread. */
	bool SetContentFromStreamDelegate(FHttpRequestStreamDelegate StreamDelegate)
	{
		return SetContentFromStream(MakeShared<FArchiveWithDelegate>(StreamDelegate));
	}
	/**
	 * Hands the answer's body, whatever its status, to the archive on the HTTP thread instead of keeping it: the
	 * response's content then stays empty. The request fails if the archive has an error after a write. The request
	 * holds the archive until the request itself is destroyed.
	 */
	virtual bool SetResponseBodyReceiveStream(TSharedRef<FArchive> Stream) = 0;
	/** As SetResponseBodyReceiveStream, with the bytes handed to a delegate on the HTTP thread. */
	bool SetResponseBodyReceiveStreamDelegate(FHttpRequestStreamDelegate StreamDelegate)
	{
		return SetResponseBodyReceiveStream(MakeShared<FArchiveWithDelegate>(StreamDelegate));
	}
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
