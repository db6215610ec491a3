// Requests and responses on libcurl easy handles. A request's transfer state is touched by the HTTP thread only
// while the request is in flight; the game thread reads it after the completion has been handed over.
#pragma once

#include "CoreMinimal.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include <atomic>
#include <chrono>
#include <cstdio>
#include <curl/curl.h>

class FHttpThread;

class FCurlHttpResponse final : public IHttpResponse
{
public:
	explicit FCurlHttpResponse(const FString& InURL);

	FString GetURL() const override { return URL; }
	FString GetURLParameter(const FString& ParameterName) const override;
	FString GetHeader(const FString& HeaderName) const override;
	TArray<FString> GetAllHeaders() const override;
	FString GetContentType() const override;
	uint64 GetContentLength() const override;
	const TArray<uint8>& GetContent() const override { return Payload; }
	int32 GetResponseCode() const override { return ResponseCode; }
	FString GetContentAsString() const override;

private:
	friend class FCurlHttpRequest;

	FString URL;
	int32 ResponseCode = 0;
	TMap<FString, FString> Headers;
	TArray<uint8> Payload;
};

class FCurlHttpRequest final : public IHttpRequest
{
public:
	FCurlHttpRequest();
	~FCurlHttpRequest() override;

	FString GetURL() const override { return URL; }
	FString GetURLParameter(const FString& ParameterName) const override;
	FString GetHeader(const FString& HeaderName) const override;
	TArray<FString> GetAllHeaders() const override;
	FString GetContentType() const override;
	uint64 GetContentLength() const override;
	const TArray<uint8>& GetContent() const override { return Payload; }

	FString GetVerb() const override { return Verb; }
	void SetVerb(const FString& InVerb) override;
	void SetURL(const FString& InURL) override;
	void SetContent(const TArray<uint8>& ContentPayload) override;
	void SetContent(TArray<uint8>&& ContentPayload) override;
	void SetContentAsString(const FString& ContentString) override;
	bool SetContentAsStreamedFile(const FString& Filename) override;
	bool SetContentFromStream(TSharedRef<FArchive, ESPMode::ThreadSafe> Stream) override;
	bool SetResponseBodyReceiveStream(TSharedRef<FArchive> Stream) override;
	void SetHeader(const FString& HeaderName, const FString& HeaderValue) override;
	void AppendToHeader(const FString& HeaderName, const FString& AdditionalHeaderValue) override;
	void SetTimeout(float InTimeoutSecs) override;
	void ClearTimeout() override;
	TOptional<float> GetTimeout() const override { return Timeout; }

	bool ProcessRequest() override;
	FHttpRequestCompleteDelegate& OnProcessRequestComplete() override { return CompleteDelegate; }
	void CancelRequest() override;
	EHttpRequestStatus::Type GetStatus() const override { return Status.load(); }
	const FHttpResponsePtr GetResponse() const override { return Response; }
	void Tick(float DeltaSeconds) override;
	float GetElapsedTime() const override;

	/** HTTP thread: the handle to add to the multi handle. */
	CURL* GetEasyHandle() const { return EasyHandle; }
	/** HTTP thread: whether CancelRequest was called. */
	bool IsCancelRequested() const { return bCancelRequested.load(); }
	/** HTTP thread: records how the transfer ended, before the request is handed to the game thread. */
	void SetTransferResult(CURLcode Result);
	/** Game thread: publishes the outcome and calls the completion delegate. */
	void FinishedRequest();

private:
	static FHttpThread& GetHttpThread();
	/** False, with the reason, when the request cannot start. */
	bool SetupRequest(FString& OutError);
	/** Refuses changes while the transfer may be reading them. */
	bool CanModify(const TCHAR* What) const;
	/** Drops the streamed file or archive, leaving the in-memory payload as the body. */
	void CloseStreamedFile();
	bool HasBody() const { return StreamedFile != nullptr || RequestStream.IsValid() || Payload.Num() > 0; }
	/** Whether the engine would take the body for form-encoded data: only in-memory bytes of the URL-safe set. */
	bool IsBodyUrlEncoded() const;

	static size_t ReceiveBody(char* Data, size_t Size, size_t Count, void* UserData);
	static size_t ReceiveHeader(char* Data, size_t Size, size_t Count, void* UserData);
	static size_t SendBody(char* Buffer, size_t Size, size_t Count, void* UserData);
	static int SeekBody(void* UserData, curl_off_t Offset, int Origin);

	CURL* EasyHandle;
	curl_slist* HeaderList = nullptr;

	FString Verb = TEXT("GET");
	FString URL;
	TMap<FString, FString> Headers;
	TArray<uint8> Payload;
	std::FILE* StreamedFile = nullptr;
	uint64 StreamedFileSize = 0;
	/** The body read from the caller's archive on the HTTP thread; never rewound. */
	TSharedPtr<FArchive, ESPMode::ThreadSafe> RequestStream;
	/** Where the answer's body goes instead of the response; kept until the request is destroyed. */
	TSharedPtr<FArchive> ResponseStream;
	TOptional<float> Timeout;

	FHttpRequestCompleteDelegate CompleteDelegate;
	std::atomic<EHttpRequestStatus::Type> Status{EHttpRequestStatus::NotStarted};
	FHttpResponsePtr Response;
	std::chrono::steady_clock::time_point StartTime;
	float ElapsedTime = 0.0f;

	// Set up by ProcessRequest, then owned by the HTTP thread until the completion is handed over.
	TSharedPtr<FCurlHttpResponse, ESPMode::ThreadSafe> PendingResponse;
	uint64 UploadOffset = 0;
	CURLcode TransferResult = CURLE_OK;
	char ErrorBuffer[CURL_ERROR_SIZE] = {};
	std::atomic<bool> bCancelRequested{false};
	/** Why ProcessRequest could not start the transfer; empty when it did. */
	FString StartFailure;
};
