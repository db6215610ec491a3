// Stand-in for the engine's HttpModule.h: the HTTP module, which makes requests and owns the manager.
#pragma once

#include "CoreMinimal.h"
#include "HttpFwd.h"
#include "HttpManager.h"
#include "Interfaces/IHttpRequest.h"

/** The HTTP module. Exists from the first Get() until the program exits. */
class FHttpModule
{
public:
	/** The module, made on first use. */
	static FHttpModule& Get();

	/** A new request: verb GET, no URL, no headers, no timeout. */
	virtual TSharedRef<IHttpRequest, ESPMode::ThreadSafe> CreateRequest();

	/** The manager that runs requests and whose Tick completes them. */
	FHttpManager& GetHttpManager()
	{
		check(HttpManager != nullptr);
		return *HttpManager;
	}

	/** Adds a header sent with every request that does not set that header itself. */
	void AddDefaultHeader(const FString& HeaderName, const FString& HeaderValue);
	/** The headers added with AddDefaultHeader. */
	const TMap<FString, FString>& GetDefaultHeaders() const { return DefaultHeaders; }

	/** The whole-request limit of requests that set none: 0, no limit. */
	float GetHttpTotalTimeout() const { return 0.0f; }

	virtual ~FHttpModule();
	FHttpModule(const FHttpModule&) = delete;
	FHttpModule& operator=(const FHttpModule&) = delete;

private:
	FHttpModule();

	FHttpManager* HttpManager;
	TMap<FString, FString> DefaultHeaders;
};
