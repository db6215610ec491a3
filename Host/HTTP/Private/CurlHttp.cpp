// Requests and responses on libcurl easy handles.
#include "CurlHttp.h"
#include "HostHttpTesting.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "HttpThread.h"
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace
{
/** Sent when the caller sets no User-Agent; the editor sends its own name and version the same way. */
const TCHAR* const DefaultUserAgent = TEXT("HostEditor/5.3");

/** Reserving from Content-Length stops here, so that a lying server cannot make us commit a huge buffer up front. */
constexpr curl_off_t MaxReserveBytes = curl_off_t(1) << 30;

constexpr int MaxRedirects = 10;

std::string ToUtf8(const FString& Text)
{
	return HostConv::ToUtf8(*Text, Text.Len());
}

FString FromUtf8(const char* Data, size_t Len)
{
	FString Result;
	if (Len > 0)
	{
		Result.HostStorage() = HostConv::FromUtf8(Data, (int32)Len);
	}
	return Result;
}

/** A header line must stay one line: a CR or LF in a name or value would let it smuggle more headers. */
std::string HeaderText(const FString& Text)
{
	std::string Utf8 = ToUtf8(Text);
	std::replace_if(
		Utf8.begin(), Utf8.end(),
		[](char C)
		{
			return C == '\r' || C == '\n';
		},
		' ');
	return Utf8;
}

std::string_view Trim(std::string_view Text)
{
	while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t'))
	{
		Text.remove_prefix(1);
	}
	while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t' || Text.back() == '\r' || Text.back() == '\n'))
	{
		Text.remove_suffix(1);
	}
	return Text;
}

/** The raw value of a query parameter: what follows "Name=" between '?' or '&' and the next '&' or '#'. */
FString FindUrlParameter(const FString& Url, const FString& ParameterName)
{
	const std::u16string& Text = Url.HostStorage();
	const size_t Query = Text.find(u'?');
	if (Query == std::u16string::npos)
	{
		return FString();
	}
	const size_t End = std::min(Text.find(u'#', Query), Text.size());
	size_t Start = Query + 1;
	while (Start < End)
	{
		size_t Next = Text.find(u'&', Start);
		if (Next == std::u16string::npos || Next > End)
		{
			Next = End;
		}
		const std::u16string_view Pair(Text.data() + Start, Next - Start);
		const size_t Equals = Pair.find(u'=');
		if (Pair.substr(0, Equals) == std::u16string_view(ParameterName.HostStorage()))
		{
			FString Value;
			if (Equals != std::u16string_view::npos)
			{
				Value.HostStorage() = std::u16string(Pair.substr(Equals + 1));
			}
			return Value;
		}
		Start = Next + 1;
	}
	return FString();
}

TArray<FString> JoinHeaders(const TMap<FString, FString>& Headers)
{
	TArray<FString> Result;
	for (const TPair<FString, FString>& Header : Headers)
	{
		Result.Add(Header.Key + TEXT(": ") + Header.Value);
	}
	return Result;
}

/** Keeps the caller's no_proxy list and adds the loopback names: local services are never reached through a proxy. */
std::string NoProxyList()
{
	std::string List = "localhost,127.0.0.1,::1";
	for (const char* Name : {"no_proxy", "NO_PROXY"})
	{
		if (const char* Value = std::getenv(Name); Value != nullptr && *Value != '\0')
		{
			List += ',';
			List += Value;
			break;
		}
	}
	return List;
}

/** Set by tests only; read when a request starts. */
std::atomic<float> GTimeoutCeiling{0.0f};
/** The own time limit of the request started last, for tests. */
std::atomic<float> GLastStartedTimeout{0.0f};

/**
 * The URL without its query and fragment, for log lines: a download link's query carries its signature, and logs are
 * read by more people than the links are meant for.
 */
FString UrlForLog(const FString& Url)
{
	int32 Cut = INDEX_NONE;
	for (const TCHAR Mark : {TEXT('?'), TEXT('#')})
	{
		int32 Found = INDEX_NONE;
		if (Url.FindChar(Mark, Found) && (Cut == INDEX_NONE || Found < Cut))
		{
			Cut = Found;
		}
	}
	return Cut == INDEX_NONE ? Url : Url.Left(Cut);
}

bool IsConnectionFailure(CURLcode Result)
{
	return Result == CURLE_COULDNT_CONNECT || Result == CURLE_COULDNT_RESOLVE_HOST ||
		   Result == CURLE_COULDNT_RESOLVE_PROXY;
}
} // namespace

void HostHttpTesting::SetTimeoutCeiling(float Seconds)
{
	GTimeoutCeiling.store(Seconds > 0.0f ? Seconds : 0.0f);
}

float HostHttpTesting::GetLastStartedTimeout()
{
	return GLastStartedTimeout.load();
}

// FCurlHttpResponse

FCurlHttpResponse::FCurlHttpResponse(const FString& InURL)
	: URL(InURL)
{
}

FString FCurlHttpResponse::GetURLParameter(const FString& ParameterName) const
{
	return FindUrlParameter(URL, ParameterName);
}

FString FCurlHttpResponse::GetHeader(const FString& HeaderName) const
{
	return Headers.FindRef(HeaderName);
}

TArray<FString> FCurlHttpResponse::GetAllHeaders() const
{
	return JoinHeaders(Headers);
}

FString FCurlHttpResponse::GetContentType() const
{
	return GetHeader(TEXT("Content-Type"));
}

uint64 FCurlHttpResponse::GetContentLength() const
{
	const std::string Declared = ToUtf8(GetHeader(TEXT("Content-Length")));
	char* End = nullptr;
	const unsigned long long Value = std::strtoull(Declared.c_str(), &End, 10);
	return !Declared.empty() && End != nullptr && *End == '\0' ? (uint64)Value : (uint64)Payload.Num();
}

FString FCurlHttpResponse::GetContentAsString() const
{
	return FromUtf8((const char*)Payload.GetData(), (size_t)Payload.Num());
}

// FCurlHttpRequest

FHttpThread& FCurlHttpRequest::GetHttpThread()
{
	return *FHttpModule::Get().GetHttpManager().Thread;
}

FCurlHttpRequest::FCurlHttpRequest()
	: EasyHandle(curl_easy_init())
{
	check(EasyHandle != nullptr);
}

FCurlHttpRequest::~FCurlHttpRequest()
{
	curl_easy_cleanup(EasyHandle);
	curl_slist_free_all(HeaderList);
	CloseStreamedFile();
}

FString FCurlHttpRequest::GetURLParameter(const FString& ParameterName) const
{
	return FindUrlParameter(URL, ParameterName);
}

FString FCurlHttpRequest::GetHeader(const FString& HeaderName) const
{
	return Headers.FindRef(HeaderName);
}

TArray<FString> FCurlHttpRequest::GetAllHeaders() const
{
	return JoinHeaders(Headers);
}

FString FCurlHttpRequest::GetContentType() const
{
	return GetHeader(TEXT("Content-Type"));
}

uint64 FCurlHttpRequest::GetContentLength() const
{
	if (RequestStream.IsValid())
	{
		// As the engine: the archive's own size, unsigned, so an archive without one (-1) claims an endless body.
		return (uint64)RequestStream->TotalSize();
	}
	return StreamedFile != nullptr ? StreamedFileSize : (uint64)Payload.Num();
}

bool FCurlHttpRequest::IsBodyUrlEncoded() const
{
	if (StreamedFile != nullptr || RequestStream.IsValid())
	{
		return false;
	}
	for (const uint8 Byte : Payload)
	{
		const bool bAllowed = (Byte >= 'A' && Byte <= 'Z') || (Byte >= 'a' && Byte <= 'z') ||
							  (Byte >= '0' && Byte <= '9') || Byte == '-' || Byte == '_' || Byte == '.' || Byte == '~';
		if (!bAllowed)
		{
			return false;
		}
	}
	return true;
}

bool FCurlHttpRequest::CanModify(const TCHAR* What) const
{
	if (GetStatus() == EHttpRequestStatus::Processing)
	{
		UE_LOG(
			LogHttp, Warning, TEXT("%s ignored: the request to %s is still being processed."), What, *UrlForLog(URL));
		return false;
	}
	return true;
}

void FCurlHttpRequest::SetVerb(const FString& InVerb)
{
	if (CanModify(TEXT("SetVerb")))
	{
		Verb = InVerb.ToUpper();
	}
}

void FCurlHttpRequest::SetURL(const FString& InURL)
{
	if (CanModify(TEXT("SetURL")))
	{
		URL = InURL;
	}
}

void FCurlHttpRequest::SetContent(const TArray<uint8>& ContentPayload)
{
	if (CanModify(TEXT("SetContent")))
	{
		CloseStreamedFile();
		Payload = ContentPayload;
	}
}

void FCurlHttpRequest::SetContent(TArray<uint8>&& ContentPayload)
{
	if (CanModify(TEXT("SetContent")))
	{
		CloseStreamedFile();
		Payload = MoveTemp(ContentPayload);
	}
}

void FCurlHttpRequest::SetContentAsString(const FString& ContentString)
{
	if (CanModify(TEXT("SetContentAsString")))
	{
		CloseStreamedFile();
		const std::string Utf8 = ToUtf8(ContentString);
		Payload.HostStorage().assign(Utf8.begin(), Utf8.end());
	}
}

bool FCurlHttpRequest::SetContentAsStreamedFile(const FString& Filename)
{
	if (!CanModify(TEXT("SetContentAsStreamedFile")))
	{
		return false;
	}
	CloseStreamedFile();
	Payload.Empty();
	std::FILE* File = std::fopen(ToUtf8(Filename).c_str(), "rb");
	if (File == nullptr)
	{
		UE_LOG(LogHttp, Warning, TEXT("SetContentAsStreamedFile: cannot open %s."), *Filename);
		return false;
	}
	if (fseeko(File, 0, SEEK_END) != 0)
	{
		std::fclose(File);
		UE_LOG(LogHttp, Warning, TEXT("SetContentAsStreamedFile: cannot read %s."), *Filename);
		return false;
	}
	const off_t Size = ftello(File);
	if (Size < 0 || fseeko(File, 0, SEEK_SET) != 0)
	{
		std::fclose(File);
		UE_LOG(LogHttp, Warning, TEXT("SetContentAsStreamedFile: cannot read %s."), *Filename);
		return false;
	}
	StreamedFile = File;
	StreamedFileSize = (uint64)Size;
	return true;
}

bool FCurlHttpRequest::SetContentFromStream(TSharedRef<FArchive, ESPMode::ThreadSafe> Stream)
{
	if (!CanModify(TEXT("SetContentFromStream")))
	{
		return false;
	}
	CloseStreamedFile();
	Payload.Empty();
	RequestStream = Stream;
	return true;
}

bool FCurlHttpRequest::SetResponseBodyReceiveStream(TSharedRef<FArchive> Stream)
{
	// The engine's curl request takes the stream at any time, in flight or not, and always says yes.
	ResponseStream = Stream;
	return true;
}

void FCurlHttpRequest::CloseStreamedFile()
{
	RequestStream.Reset();
	if (StreamedFile != nullptr)
	{
		std::fclose(StreamedFile);
		StreamedFile = nullptr;
		StreamedFileSize = 0;
	}
}

void FCurlHttpRequest::SetHeader(const FString& HeaderName, const FString& HeaderValue)
{
	if (CanModify(TEXT("SetHeader")))
	{
		Headers.Add(HeaderName, HeaderValue);
	}
}

void FCurlHttpRequest::AppendToHeader(const FString& HeaderName, const FString& AdditionalHeaderValue)
{
	if (!CanModify(TEXT("AppendToHeader")))
	{
		return;
	}
	FString* Existing = Headers.Find(HeaderName);
	if (Existing != nullptr && !Existing->IsEmpty())
	{
		*Existing += TEXT(", ");
		*Existing += AdditionalHeaderValue;
	}
	else
	{
		Headers.Add(HeaderName, AdditionalHeaderValue);
	}
}

void FCurlHttpRequest::SetTimeout(float InTimeoutSecs)
{
	if (CanModify(TEXT("SetTimeout")))
	{
		Timeout = InTimeoutSecs;
	}
}

void FCurlHttpRequest::ClearTimeout()
{
	if (CanModify(TEXT("ClearTimeout")))
	{
		Timeout.Reset();
	}
}

void FCurlHttpRequest::Tick(float DeltaSeconds)
{
	(void)DeltaSeconds;
}

float FCurlHttpRequest::GetElapsedTime() const
{
	if (GetStatus() == EHttpRequestStatus::Processing)
	{
		return std::chrono::duration<float>(std::chrono::steady_clock::now() - StartTime).count();
	}
	return ElapsedTime;
}

bool FCurlHttpRequest::SetupRequest(FString& OutError)
{
	if (URL.IsEmpty())
	{
		OutError = TEXT("no URL was set");
		return false;
	}
	if (!URL.StartsWith(TEXT("http://")) && !URL.StartsWith(TEXT("https://")))
	{
		OutError = TEXT("only http:// and https:// URLs can be requested");
		return false;
	}

	const FString EffectiveVerb = Verb.IsEmpty() ? FString(TEXT("GET")) : Verb;
	if (RequestStream.IsValid() && RequestStream->TotalSize() < 0)
	{
		OutError = TEXT("the body's archive has no size (TotalSize)");
		return false;
	}
	if (EffectiveVerb.Equals(TEXT("GET")) && HasBody() && GetContentLength() > 0)
	{
		OutError = TEXT("an HTTP Get request cannot contain a payload");
		return false;
	}
	if (EffectiveVerb.Equals(TEXT("POST")) || EffectiveVerb.Equals(TEXT("DELETE")))
	{
		// As the engine's curl request: without a Content-Type a body is taken for form data, and one that is not
		// (any file or archive, or bytes outside the URL-safe set) is a programming error that stops the process.
		check(!GetHeader(TEXT("Content-Type")).IsEmpty() || IsBodyUrlEncoded());
	}

	curl_easy_reset(EasyHandle);
	curl_slist_free_all(HeaderList);
	HeaderList = nullptr;
	ErrorBuffer[0] = '\0';
	PendingResponse = MakeShared<FCurlHttpResponse, ESPMode::ThreadSafe>(URL);
	UploadOffset = 0;
	if (StreamedFile != nullptr && fseeko(StreamedFile, 0, SEEK_SET) != 0)
	{
		OutError = TEXT("the streamed file cannot be read");
		return false;
	}

	const std::string Url = ToUtf8(URL);
	curl_easy_setopt(EasyHandle, CURLOPT_URL, Url.c_str());
	curl_easy_setopt(EasyHandle, CURLOPT_NOSIGNAL, 1L);
	curl_easy_setopt(EasyHandle, CURLOPT_PROTOCOLS_STR, "http,https");
	curl_easy_setopt(EasyHandle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
	curl_easy_setopt(EasyHandle, CURLOPT_FOLLOWLOCATION, 1L);
	curl_easy_setopt(EasyHandle, CURLOPT_MAXREDIRS, (long)MaxRedirects);
	curl_easy_setopt(EasyHandle, CURLOPT_NOPROXY, NoProxyList().c_str());
	curl_easy_setopt(EasyHandle, CURLOPT_ERRORBUFFER, ErrorBuffer);
	curl_easy_setopt(EasyHandle, CURLOPT_WRITEFUNCTION, &FCurlHttpRequest::ReceiveBody);
	curl_easy_setopt(EasyHandle, CURLOPT_WRITEDATA, this);
	curl_easy_setopt(EasyHandle, CURLOPT_HEADERFUNCTION, &FCurlHttpRequest::ReceiveHeader);
	curl_easy_setopt(EasyHandle, CURLOPT_HEADERDATA, this);
	float Limit = Timeout.IsSet() && Timeout.GetValue() > 0.0f ? Timeout.GetValue() : 0.0f;
	GLastStartedTimeout.store(Limit);
	const float Ceiling = GTimeoutCeiling.load();
	if (Ceiling > 0.0f && (Limit == 0.0f || Limit > Ceiling))
	{
		Limit = Ceiling;
	}
	if (Limit > 0.0f)
	{
		curl_easy_setopt(EasyHandle, CURLOPT_TIMEOUT_MS, std::max(1L, (long)(Limit * 1000.0f)));
	}

	const bool bSendsBody = HasBody() || EffectiveVerb.Equals(TEXT("POST")) || EffectiveVerb.Equals(TEXT("PUT")) ||
							EffectiveVerb.Equals(TEXT("PATCH"));
	if (EffectiveVerb.Equals(TEXT("HEAD")))
	{
		curl_easy_setopt(EasyHandle, CURLOPT_NOBODY, 1L);
	}
	else if (bSendsBody)
	{
		// The body is read straight from the request's own buffer (or file): a large upload is never copied.
		curl_easy_setopt(EasyHandle, CURLOPT_POST, 1L);
		curl_easy_setopt(EasyHandle, CURLOPT_POSTFIELDSIZE_LARGE, (curl_off_t)GetContentLength());
		curl_easy_setopt(EasyHandle, CURLOPT_READFUNCTION, &FCurlHttpRequest::SendBody);
		curl_easy_setopt(EasyHandle, CURLOPT_READDATA, this);
		curl_easy_setopt(EasyHandle, CURLOPT_SEEKFUNCTION, &FCurlHttpRequest::SeekBody);
		curl_easy_setopt(EasyHandle, CURLOPT_SEEKDATA, this);
		if (!EffectiveVerb.Equals(TEXT("POST")))
		{
			curl_easy_setopt(EasyHandle, CURLOPT_CUSTOMREQUEST, ToUtf8(EffectiveVerb).c_str());
		}
		// libcurl sends a request again when a pooled connection turns out to have been closed before any answer.
		// That is harmless for a read, but a POST sent twice may be carried out twice (two uploads, two charged
		// jobs): requests that change something always get a connection of their own.
		if (!EffectiveVerb.Equals(TEXT("PUT")))
		{
			curl_easy_setopt(EasyHandle, CURLOPT_FRESH_CONNECT, 1L);
		}
	}
	else if (!EffectiveVerb.Equals(TEXT("GET")))
	{
		curl_easy_setopt(EasyHandle, CURLOPT_CUSTOMREQUEST, ToUtf8(EffectiveVerb).c_str());
	}

	// Only what the caller asked for goes on the wire: libcurl's own Accept, Expect: 100-continue and form
	// Content-Type are suppressed (an empty "Name:" line removes a header), and Content-Length follows the body.
	TMap<FString, FString> Outgoing = Headers;
	for (const TPair<FString, FString>& Default : FHttpModule::Get().GetDefaultHeaders())
	{
		Outgoing.FindOrAdd(Default.Key, Default.Value);
	}
	Outgoing.FindOrAdd(TEXT("User-Agent"), DefaultUserAgent);
	Outgoing.FindOrAdd(TEXT("Accept"), FString());
	Outgoing.FindOrAdd(TEXT("Expect"), FString());
	Outgoing.FindOrAdd(TEXT("Content-Type"), FString());
	Outgoing.Remove(TEXT("Content-Length"));
	for (const TPair<FString, FString>& Header : Outgoing)
	{
		const std::string Line =
			HeaderText(Header.Key) + (Header.Value.IsEmpty() ? std::string(":") : ": " + HeaderText(Header.Value));
		curl_slist* const Extended = curl_slist_append(HeaderList, Line.c_str());
		if (Extended == nullptr)
		{
			OutError = TEXT("out of memory for the headers");
			return false;
		}
		HeaderList = Extended;
	}
	curl_easy_setopt(EasyHandle, CURLOPT_HTTPHEADER, HeaderList);
	return true;
}

bool FCurlHttpRequest::ProcessRequest()
{
	FHttpThread& Thread = GetHttpThread();
	const TSharedRef<FCurlHttpRequest, ESPMode::ThreadSafe> Self = StaticCastSharedRef<FCurlHttpRequest>(AsShared());

	if (GetStatus() == EHttpRequestStatus::Processing)
	{
		// The running transfer goes on and completes as usual; the caller's mistake is reported as its own
		// completion so that it cannot go unnoticed.
		UE_LOG(LogHttp, Warning, TEXT("ProcessRequest failed: the request to %s is still being processed."),
			*UrlForLog(URL));
		Thread.AddGameThreadTask(
			[Self]()
			{
				Self->OnProcessRequestComplete().ExecuteIfBound(Self, nullptr, false);
			});
		return false;
	}

	Response.Reset();
	PendingResponse.Reset();
	TransferResult = CURLE_OK;
	StartFailure.Empty();
	bCancelRequested = false;
	StartTime = std::chrono::steady_clock::now();
	ElapsedTime = 0.0f;
	Status = EHttpRequestStatus::Processing;
	++Thread.NumOutstanding;

	FString Error;
	if (!SetupRequest(Error))
	{
		StartFailure = Error;
	}
	else if (!Thread.AddRequest(Self))
	{
		StartFailure = TEXT("the HTTP module is shutting down");
	}
	if (!StartFailure.IsEmpty())
	{
		// Completes like any other failure, from Tick, so that callers have a single path for every outcome.
		Thread.AddGameThreadTask(
			[Self]()
			{
				Self->FinishedRequest();
			});
		return false;
	}
	return true;
}

void FCurlHttpRequest::CancelRequest()
{
	if (GetStatus() == EHttpRequestStatus::Processing && !bCancelRequested.exchange(true))
	{
		GetHttpThread().WakeUp();
	}
}

void FCurlHttpRequest::SetTransferResult(CURLcode Result)
{
	TransferResult = Result;
	long Code = 0;
	curl_easy_getinfo(EasyHandle, CURLINFO_RESPONSE_CODE, &Code);
	PendingResponse->ResponseCode = (int32)Code;
}

void FCurlHttpRequest::FinishedRequest()
{
	const bool bCancelled = bCancelRequested.load();
	const bool bConnected = StartFailure.IsEmpty() && !bCancelled && TransferResult == CURLE_OK;
	ElapsedTime = std::chrono::duration<float>(std::chrono::steady_clock::now() - StartTime).count();

	if (bConnected)
	{
		Response = PendingResponse;
		Status = EHttpRequestStatus::Succeeded;
	}
	else
	{
		Response.Reset();
		Status = IsConnectionFailure(TransferResult) ? EHttpRequestStatus::Failed_ConnectionError
													 : EHttpRequestStatus::Failed;
		if (!StartFailure.IsEmpty())
		{
			UE_LOG(LogHttp, Warning, TEXT("Request to %s could not start: %s."), *UrlForLog(URL), *StartFailure);
		}
		else if (bCancelled || TransferResult == CURLE_ABORTED_BY_CALLBACK)
		{
			UE_LOG(LogHttp, Log, TEXT("Request to %s was cancelled."), *UrlForLog(URL));
		}
		else
		{
			const char* const Detail = ErrorBuffer[0] != '\0' ? ErrorBuffer : curl_easy_strerror(TransferResult);
			UE_LOG(LogHttp, Warning, TEXT("Request to %s failed, libcurl error: %d (%s)."), *UrlForLog(URL),
				(int32)TransferResult, *FromUtf8(Detail, std::strlen(Detail)));
		}
	}
	PendingResponse.Reset();
	--GetHttpThread().NumOutstanding;

	// A copy is called so that the callback may rebind the delegate (a retry) without destroying what runs.
	const FHttpRequestCompleteDelegate Delegate = CompleteDelegate;
	const TSharedRef<FCurlHttpRequest, ESPMode::ThreadSafe> Self = StaticCastSharedRef<FCurlHttpRequest>(AsShared());
	Delegate.ExecuteIfBound(Self, Response, bConnected);
}

size_t FCurlHttpRequest::ReceiveBody(char* Data, size_t Size, size_t Count, void* UserData)
{
	FCurlHttpRequest* const Request = static_cast<FCurlHttpRequest*>(UserData);
	const size_t Bytes = Size * Count;
	if (Request->ResponseStream.IsValid())
	{
		// Every status's body goes to the caller's archive; an error there ends the transfer with a write error.
		if (Bytes == 0)
		{
			return 0;
		}
		Request->ResponseStream->Serialize(Data, (int64)Bytes);
		return Request->ResponseStream->GetError() ? 0 : Bytes;
	}
	std::vector<uint8>& Body = Request->PendingResponse->Payload.HostStorage();
	if (Body.size() + Bytes > (size_t)std::numeric_limits<int32>::max())
	{
		return 0; // larger than a TArray can hold: ends the transfer with a write error
	}
	try
	{
		if (Body.empty() && Body.capacity() == 0)
		{
			curl_off_t Expected = -1;
			if (curl_easy_getinfo(Request->EasyHandle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &Expected) == CURLE_OK &&
				Expected > 0)
			{
				Body.reserve((size_t)std::min(Expected, MaxReserveBytes));
			}
		}
		Body.insert(Body.end(), (const uint8*)Data, (const uint8*)Data + Bytes);
	}
	catch (const std::bad_alloc&)
	{
		return 0;
	}
	return Bytes;
}

size_t FCurlHttpRequest::ReceiveHeader(char* Data, size_t Size, size_t Count, void* UserData)
{
	FCurlHttpRequest* const Request = static_cast<FCurlHttpRequest*>(UserData);
	const size_t Bytes = Size * Count;
	const std::string_view Line = Trim(std::string_view(Data, Bytes));
	FCurlHttpResponse& Answer = *Request->PendingResponse;
	if (Line.starts_with("HTTP/"))
	{
		// A new status line: an interim answer or a redirect came first; only the final answer's headers count.
		Answer.Headers = TMap<FString, FString>();
		return Bytes;
	}
	const size_t Colon = Line.find(':');
	if (Colon == std::string_view::npos)
	{
		return Bytes;
	}
	const std::string_view Name = Trim(Line.substr(0, Colon));
	const std::string_view Value = Trim(Line.substr(Colon + 1));
	const FString Key = FromUtf8(Name.data(), Name.size());
	const FString Text = FromUtf8(Value.data(), Value.size());
	if (FString* Existing = Answer.Headers.Find(Key))
	{
		*Existing += TEXT(", ");
		*Existing += Text;
	}
	else
	{
		Answer.Headers.Add(Key, Text);
	}
	return Bytes;
}

size_t FCurlHttpRequest::SendBody(char* Buffer, size_t Size, size_t Count, void* UserData)
{
	FCurlHttpRequest* const Request = static_cast<FCurlHttpRequest*>(UserData);
	const size_t Room = Size * Count;
	if (Request->RequestStream.IsValid())
	{
		// As the engine's stream payload: the archive is asked for the next bytes where the last read ended, and its
		// error flag is not looked at.
		FArchive& Stream = *Request->RequestStream;
		const uint64 Total = (uint64)Stream.TotalSize();
		check(Request->UploadOffset <= Total);
		const size_t Bytes = (size_t)std::min<uint64>(Room, Total - Request->UploadOffset);
		if (Bytes > 0)
		{
			if (Stream.Tell() != (int64)Request->UploadOffset)
			{
				Stream.Seek((int64)Request->UploadOffset);
			}
			Stream.Serialize(Buffer, (int64)Bytes);
			Request->UploadOffset += Bytes;
		}
		return Bytes;
	}
	if (Request->StreamedFile != nullptr)
	{
		const size_t Read = std::fread(Buffer, 1, Room, Request->StreamedFile);
		return Read == 0 && std::ferror(Request->StreamedFile) ? CURL_READFUNC_ABORT : Read;
	}
	const uint64 Total = (uint64)Request->Payload.Num();
	const size_t Bytes = (size_t)std::min<uint64>(Room, Total - std::min(Request->UploadOffset, Total));
	if (Bytes > 0)
	{
		std::memcpy(Buffer, Request->Payload.GetData() + Request->UploadOffset, Bytes);
		Request->UploadOffset += Bytes;
	}
	return Bytes;
}

int FCurlHttpRequest::SeekBody(void* UserData, curl_off_t Offset, int Origin)
{
	FCurlHttpRequest* const Request = static_cast<FCurlHttpRequest*>(UserData);
	if (Request->RequestStream.IsValid())
	{
		// A stream is read once: a transfer that has to start over fails instead.
		return CURL_SEEKFUNC_CANTSEEK;
	}
	if (Origin != SEEK_SET || Offset < 0 || (uint64)Offset > Request->GetContentLength())
	{
		return CURL_SEEKFUNC_CANTSEEK;
	}
	if (Request->StreamedFile != nullptr)
	{
		return fseeko(Request->StreamedFile, (off_t)Offset, SEEK_SET) == 0 ? CURL_SEEKFUNC_OK : CURL_SEEKFUNC_FAIL;
	}
	Request->UploadOffset = (uint64)Offset;
	return CURL_SEEKFUNC_OK;
}
