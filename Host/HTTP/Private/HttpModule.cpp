// The HTTP module: libcurl's global state and the manager, for the life of the program.
#include "HttpModule.h"
#include "CurlHttp.h"
#include <curl/curl.h>

FHttpModule::FHttpModule()
{
	// Before any handle exists and before any other thread could use libcurl.
	const CURLcode Init = curl_global_init(CURL_GLOBAL_ALL);
	check(Init == CURLE_OK);
	(void)Init;
	HttpManager = new FHttpManager();
}

FHttpModule::~FHttpModule()
{
	delete HttpManager;
	HttpManager = nullptr;
	// curl_global_cleanup is left out on purpose: a request still held by another static object releases its easy
	// handle after this, which libcurl allows only while its global state lives.
}

FHttpModule& FHttpModule::Get()
{
	static FHttpModule Module;
	return Module;
}

TSharedRef<IHttpRequest, ESPMode::ThreadSafe> FHttpModule::CreateRequest()
{
	return MakeShared<FCurlHttpRequest, ESPMode::ThreadSafe>();
}

void FHttpModule::AddDefaultHeader(const FString& HeaderName, const FString& HeaderValue)
{
	DefaultHeaders.Add(HeaderName, HeaderValue);
}
