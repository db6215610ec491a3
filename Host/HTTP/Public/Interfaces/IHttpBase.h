// Stand-in for the engine's Interfaces/IHttpBase.h: what requests and responses have in common.
#pragma once

#include "CoreMinimal.h"

/** URL, headers and content, shared by requests and responses. */
class IHttpBase
{
public:
	virtual ~IHttpBase() = default;

	/** The URL the request was made for. */
	virtual FString GetURL() const = 0;
	/** The value of one query parameter of the URL, "" when it is absent. */
	virtual FString GetURLParameter(const FString& ParameterName) const = 0;
	/** The value of a header (names compare without case), "" when it is absent. */
	virtual FString GetHeader(const FString& HeaderName) const = 0;
	/** Every header as "Name: Value". */
	virtual TArray<FString> GetAllHeaders() const = 0;
	/** The Content-Type header. */
	virtual FString GetContentType() const = 0;
	/** The Content-Length header's value when there is one, else the size of the content. */
	virtual uint64 GetContentLength() const = 0;
	/** The content bytes. */
	virtual const TArray<uint8>& GetContent() const = 0;
};
