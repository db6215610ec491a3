// The HTTP module against real servers on the loopback interface: what goes on the wire, what comes back, and when
// and on which thread completions arrive.
#include "HostFilesTesting.h"
#include "HostTestSupport.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <string>
#include <strings.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
using namespace std::chrono_literals;

FHttpManager& Manager()
{
	return FHttpModule::Get().GetHttpManager();
}

/** Ticks the manager as an editor frame loop would until Done() holds; false if it never did. */
bool PumpUntil(const std::function<bool()>& Done, double TimeoutSeconds = 10.0)
{
	const auto Deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(TimeoutSeconds);
	while (!Done())
	{
		if (std::chrono::steady_clock::now() > Deadline)
		{
			return false;
		}
		Manager().Tick(0.01f);
		std::this_thread::sleep_for(5ms);
	}
	return true;
}

FString ToFString(const std::string& Text)
{
	return FString(Text.c_str());
}

std::string ToStd(const TArray<uint8>& Bytes)
{
	return std::string(Bytes.GetData() ? (const char*)Bytes.GetData() : "", (size_t)Bytes.Num());
}

TArray<uint8> Pattern(int32 Size)
{
	TArray<uint8> Bytes;
	Bytes.SetNum(Size);
	for (int32 Index = 0; Index < Size; ++Index)
	{
		Bytes[Index] = (uint8)((uint32)Index * 2654435761u >> 24);
	}
	return Bytes;
}

/** What one completion delivered. */
struct FOutcome
{
	int32 Calls = 0;
	bool bConnected = false;
	FHttpResponsePtr Response;
	std::thread::id Thread;
};

/** Binds a delegate that records into the returned outcome and starts the request. */
std::shared_ptr<FOutcome> Send(const FHttpRequestRef& Request, bool* OutStarted = nullptr)
{
	auto Outcome = std::make_shared<FOutcome>();
	Request->OnProcessRequestComplete().BindLambda(
		[Outcome](FHttpRequestPtr, FHttpResponsePtr Response, bool bConnectedSuccessfully)
		{
			++Outcome->Calls;
			Outcome->bConnected = bConnectedSuccessfully;
			Outcome->Response = Response;
			Outcome->Thread = std::this_thread::get_id();
		});
	const bool bStarted = Request->ProcessRequest();
	if (OutStarted != nullptr)
	{
		*OutStarted = bStarted;
	}
	return Outcome;
}

bool AllCompleted(const std::vector<std::shared_ptr<FOutcome>>& Outcomes)
{
	return std::all_of(Outcomes.begin(), Outcomes.end(),
		[](const auto& Outcome)
		{
			return Outcome->Calls > 0;
		});
}

/** Holds a server handler until the test opens it (or ten seconds pass, so that a failed test still ends). */
class FGate
{
public:
	void Open() { Promise.set_value(); }
	void Wait() const { Opened.wait_for(std::chrono::seconds(10)); }

private:
	std::promise<void> Promise;
	std::shared_future<void> Opened = Promise.get_future().share();
};

FHttpRequestRef MakeRequest(const FString& Verb, const FString& Url)
{
	FHttpRequestRef Request = FHttpModule::Get().CreateRequest();
	Request->SetVerb(Verb);
	Request->SetURL(Url);
	return Request;
}

/** A socket bound to a free loopback port, listening unless told otherwise. */
int ListenOnLoopback(int& OutPort, bool bListen = true)
{
	const int Socket = socket(AF_INET, SOCK_STREAM, 0);
	sockaddr_in Address{};
	Address.sin_family = AF_INET;
	Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	socklen_t Length = sizeof(Address);
	const bool bBound = bind(Socket, (sockaddr*)&Address, sizeof(Address)) == 0 &&
						(!bListen || listen(Socket, 16) == 0) && getsockname(Socket, (sockaddr*)&Address, &Length) == 0;
	EXPECT_TRUE(bBound);
	OutPort = ntohs(Address.sin_port);
	return Socket;
}

/** A TCP server on a free loopback port; each connection gets its own thread and the handler. */
class FRawServer
{
public:
	using FHandler = std::function<void(int Socket, const std::atomic<bool>& bStopping)>;

	explicit FRawServer(FHandler InHandler)
		: Handler(std::move(InHandler))
	{
		Listener = ListenOnLoopback(Port);
		AcceptThread = std::thread(
			[this]()
			{
				Serve();
			});
	}
	~FRawServer()
	{
		bStopping = true;
		AcceptThread.join();
		for (std::thread& Connection : ConnectionThreads)
		{
			Connection.join();
		}
		close(Listener);
	}
	FString Url(const char* Path) const { return ToFString("http://127.0.0.1:" + std::to_string(Port) + Path); }

	/** Reads a request's head; OutBody gets whatever followed it in the same reads. False if the client left. */
	static bool ReadRequestHead(int Socket, std::string* OutHead = nullptr, std::string* OutBody = nullptr)
	{
		std::string Data;
		char Buffer[16384];
		size_t HeadEnd = std::string::npos;
		while ((HeadEnd = Data.find("\r\n\r\n")) == std::string::npos)
		{
			const ssize_t Read = recv(Socket, Buffer, sizeof(Buffer), 0);
			if (Read <= 0)
			{
				return false;
			}
			Data.append(Buffer, (size_t)Read);
		}
		if (OutHead != nullptr)
		{
			*OutHead = Data.substr(0, HeadEnd + 2);
		}
		if (OutBody != nullptr)
		{
			*OutBody = Data.substr(HeadEnd + 4);
		}
		return true;
	}
	/** Keeps the connection open, answering nothing, until the client leaves or the server stops. */
	static void StaySilent(int Socket, const std::atomic<bool>& bStopping)
	{
		while (!bStopping)
		{
			pollfd Poll{Socket, POLLIN, 0};
			if (poll(&Poll, 1, 20) > 0)
			{
				char Byte;
				if (recv(Socket, &Byte, 1, 0) <= 0)
				{
					return;
				}
			}
		}
	}
	static void SendText(int Socket, const std::string& Text)
	{
		for (size_t Sent = 0; Sent < Text.size();)
		{
			const ssize_t Count = send(Socket, Text.data() + Sent, Text.size() - Sent, MSG_NOSIGNAL);
			if (Count <= 0)
			{
				return;
			}
			Sent += (size_t)Count;
		}
	}

	std::atomic<int32> Connections{0};

private:
	void Serve()
	{
		while (!bStopping)
		{
			pollfd Poll{Listener, POLLIN, 0};
			if (poll(&Poll, 1, 20) <= 0)
			{
				continue;
			}
			const int Socket = accept(Listener, nullptr, nullptr);
			if (Socket < 0)
			{
				continue;
			}
			++Connections;
			ConnectionThreads.emplace_back(
				[this, Socket]()
				{
					Handler(Socket, bStopping);
					close(Socket);
				});
		}
	}

	FHandler Handler;
	int Listener = -1;
	int Port = 0;
	std::atomic<bool> bStopping{false};
	std::thread AcceptThread;
	std::vector<std::thread> ConnectionThreads;
};

/** One request as the test server read it off the wire. */
struct FSeenRequest
{
	std::string Method;
	std::string Path;
	std::vector<std::pair<std::string, std::string>> Headers;
	std::string Body;

	/** Header names compare without case; "" when absent. */
	std::string Header(const std::string& Name, bool* bOutFound = nullptr) const
	{
		for (const auto& [Key, Value] : Headers)
		{
			if (strcasecmp(Key.c_str(), Name.c_str()) == 0)
			{
				if (bOutFound != nullptr)
				{
					*bOutFound = true;
				}
				return Value;
			}
		}
		if (bOutFound != nullptr)
		{
			*bOutFound = false;
		}
		return std::string();
	}
	bool Has(const std::string& Name) const
	{
		bool bFound = false;
		Header(Name, &bFound);
		return bFound;
	}
};

struct FAnswer
{
	int Status = 200;
	std::vector<std::pair<std::string, std::string>> Headers;
	std::string Body;
};

/** A plain HTTP/1.1 server: routes by "METHOD /path", answers with Content-Length and closes the connection. */
class FTestServer
{
public:
	using FRoute = std::function<void(const FSeenRequest& Request, FAnswer& Answer)>;

	FTestServer()
		: Raw(
			  [this](int Socket, const std::atomic<bool>&)
			  {
				  ServeOne(Socket);
			  })
	{
	}
	/** Add routes before the first request is sent. */
	void On(const std::string& MethodAndPath, FRoute Route) { Routes.emplace_back(MethodAndPath, std::move(Route)); }
	FString Url(const char* Path) const { return Raw.Url(Path); }

	/** The last request the server read in full. */
	FSeenRequest Last()
	{
		std::lock_guard<std::mutex> Guard(Lock);
		return LastRequest;
	}

private:
	void ServeOne(int Socket)
	{
		std::string Head;
		FSeenRequest Request;
		if (!FRawServer::ReadRequestHead(Socket, &Head, &Request.Body))
		{
			return;
		}
		std::istringstream Lines(Head);
		std::string Line;
		std::getline(Lines, Line);
		std::istringstream(Line) >> Request.Method >> Request.Path;
		while (std::getline(Lines, Line) && Line != "\r")
		{
			const size_t Colon = Line.find(':');
			if (Colon != std::string::npos)
			{
				const size_t ValueStart = Line.find_first_not_of(' ', Colon + 1);
				const size_t ValueEnd = Line.find_last_not_of("\r ");
				Request.Headers.emplace_back(
					Line.substr(0, Colon), ValueStart == std::string::npos || ValueEnd < ValueStart
											   ? std::string()
											   : Line.substr(ValueStart, ValueEnd - ValueStart + 1));
			}
		}
		const size_t Length = (size_t)std::strtoull(Request.Header("Content-Length").c_str(), nullptr, 10);
		char Buffer[65536];
		while (Request.Body.size() < Length)
		{
			const ssize_t Read = recv(Socket, Buffer, sizeof(Buffer), 0);
			if (Read <= 0)
			{
				return;
			}
			Request.Body.append(Buffer, (size_t)Read);
		}
		{
			std::lock_guard<std::mutex> Guard(Lock);
			LastRequest = Request;
		}

		FAnswer Answer;
		Answer.Status = 404;
		for (const auto& [Key, Route] : Routes)
		{
			if (Key == Request.Method + " " + Request.Path ||
				(Request.Method == "HEAD" && Key == "GET " + Request.Path))
			{
				Answer.Status = 200;
				Route(Request, Answer);
				break;
			}
		}
		std::string Reply = "HTTP/1.1 " + std::to_string(Answer.Status) + " Status\r\n";
		for (const auto& [Name, Value] : Answer.Headers)
		{
			Reply += Name + ": " + Value + "\r\n";
		}
		Reply += "Content-Length: " + std::to_string(Answer.Body.size()) + "\r\nConnection: close\r\n\r\n";
		if (Request.Method != "HEAD")
		{
			Reply += Answer.Body;
		}
		FRawServer::SendText(Socket, Reply);
	}

	std::vector<std::pair<std::string, FRoute>> Routes;
	std::mutex Lock;
	FSeenRequest LastRequest;
	FRawServer Raw;
};

/** A loopback URL on which nothing listens. */
FString ClosedPortUrl()
{
	int Port = 0;
	close(ListenOnLoopback(Port, false));
	return ToFString("http://127.0.0.1:" + std::to_string(Port) + "/");
}

} // namespace

TEST(HttpTest, AnyStatusArrivesConnectedWithItsHeadersAndBody)
{
	FTestServer Server;
	Server.On("GET /ok",
		[](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Headers = {{"X-Trace", "abc"}, {"Content-Type", "application/json"}};
			Answer.Body = "{\"email\":\"a@b.c\"}";
		});
	Server.On("GET /denied",
		[](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Status = 401;
			Answer.Body = "{\"detail\":\"bad key\"}";
		});
	Server.On("GET /broken",
		[](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Status = 500;
		});

	const std::shared_ptr<FOutcome> Ok = Send(MakeRequest(TEXT("GET"), Server.Url("/ok")));
	const std::shared_ptr<FOutcome> Denied = Send(MakeRequest(TEXT("GET"), Server.Url("/denied")));
	const std::shared_ptr<FOutcome> Broken = Send(MakeRequest(TEXT("GET"), Server.Url("/broken")));
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Ok->Calls && Denied->Calls && Broken->Calls;
		}));

	for (const std::shared_ptr<FOutcome>& Outcome : {Ok, Denied, Broken})
	{
		EXPECT_EQ(Outcome->Calls, 1);
		EXPECT_TRUE(Outcome->bConnected);
		ASSERT_TRUE(Outcome->Response.IsValid());
		EXPECT_EQ(Outcome->Thread, std::this_thread::get_id());
	}
	EXPECT_EQ(Ok->Response->GetResponseCode(), 200);
	EXPECT_EQ(ToStd(Ok->Response->GetContent()), "{\"email\":\"a@b.c\"}");
	EXPECT_TRUE(Ok->Response->GetHeader(TEXT("x-trace")).Equals(TEXT("abc")));
	EXPECT_TRUE(Ok->Response->GetContentType().Equals(TEXT("application/json")));
	EXPECT_EQ(Ok->Response->GetContentLength(), 17u);
	EXPECT_EQ(Denied->Response->GetResponseCode(), 401);
	EXPECT_TRUE(Denied->Response->GetContentAsString().Equals(TEXT("{\"detail\":\"bad key\"}")));
	EXPECT_EQ(Broken->Response->GetResponseCode(), 500);
	EXPECT_EQ(Broken->Response->GetContent().Num(), 0);
}

TEST(HttpTest, SendsTheCallersHeadersAndBodyByteForByteAndNothingUnasked)
{
	FTestServer Server;
	Server.On("POST /upload", [](const FSeenRequest&, FAnswer&) {});
	Server.On("GET /plain", [](const FSeenRequest&, FAnswer&) {});

	// Large enough that an HTTP client would normally ask for "100-continue" first.
	TArray<uint8> Body = Pattern(2 * 1024 * 1024);
	Body[0] = 0;
	Body[1000] = 0;
	const std::string Expected = ToStd(Body);
	FHttpRequestRef Upload = MakeRequest(TEXT("POST"), Server.Url("/upload"));
	Upload->SetHeader(TEXT("Authorization"), TEXT("Bearer key-123"));
	Upload->SetHeader(TEXT("User-Agent"), TEXT("tarvoline-unreal/0.1.0"));
	Upload->SetHeader(TEXT("Accept"), TEXT("application/json"));
	Upload->SetHeader(TEXT("Content-Type"), TEXT("application/octet-stream"));
	Upload->SetContent(Body);
	const std::shared_ptr<FOutcome> Uploaded = Send(Upload);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Uploaded->Calls > 0;
		}));
	ASSERT_TRUE(Uploaded->bConnected);
	FSeenRequest Seen = Server.Last();
	EXPECT_EQ(Seen.Header("Authorization"), "Bearer key-123");
	EXPECT_EQ(Seen.Header("User-Agent"), "tarvoline-unreal/0.1.0");
	EXPECT_EQ(Seen.Header("Accept"), "application/json");
	EXPECT_EQ(Seen.Header("Content-Type"), "application/octet-stream");
	EXPECT_EQ(Seen.Header("Content-Length"), std::to_string(Expected.size()));
	EXPECT_FALSE(Seen.Has("Expect"));
	EXPECT_TRUE(Seen.Body == Expected);

	const std::shared_ptr<FOutcome> Plain = Send(MakeRequest(TEXT("GET"), Server.Url("/plain")));
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Plain->Calls > 0;
		}));
	ASSERT_TRUE(Plain->bConnected);
	Seen = Server.Last();
	EXPECT_EQ(Seen.Method, "GET");
	EXPECT_FALSE(Seen.Has("Accept"));
	EXPECT_FALSE(Seen.Has("Content-Type"));
	EXPECT_FALSE(Seen.Has("Expect"));
	EXPECT_FALSE(Seen.Has("Authorization"));
	EXPECT_FALSE(Seen.Header("User-Agent").empty());
	EXPECT_NE(Seen.Header("User-Agent").rfind("curl", 0), 0u);
}

TEST(HttpTest, TextTravelsAsUtf8BothWays)
{
	FTestServer Server;
	Server.On("POST /echo",
		[](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Body = "Antwort: Grüße, 世界 🎉";
		});

	FHttpRequestRef Request = MakeRequest(TEXT("POST"), Server.Url("/echo"));
	Request->SetHeader(TEXT("Content-Type"), TEXT("application/json"));
	Request->SetContentAsString(TEXT("{\"prompt\":\"Grüße, 世界 🎉\"}"));
	const std::shared_ptr<FOutcome> Outcome = Send(Request);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Outcome->Calls > 0;
		}));
	ASSERT_TRUE(Outcome->bConnected);
	EXPECT_EQ(Server.Last().Body, "{\"prompt\":\"Grüße, 世界 🎉\"}");
	EXPECT_TRUE(Outcome->Response->GetContentAsString().Equals(TEXT("Antwort: Grüße, 世界 🎉")));
}

TEST(HttpTest, NoCompleteAnswerMeansNotConnectedAndNoResponse)
{
	// Headers promise 100 bytes, 10 come, then the server hangs up.
	FRawServer Truncated(
		[](int Socket, const std::atomic<bool>&)
		{
			FRawServer::ReadRequestHead(Socket);
			FRawServer::SendText(Socket, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789");
		});
	FRawServer HangsUp(
		[](int Socket, const std::atomic<bool>&)
		{
			FRawServer::ReadRequestHead(Socket);
		});
	FRawServer Resets(
		[](int Socket, const std::atomic<bool>&)
		{
			FRawServer::ReadRequestHead(Socket);
			const linger Abort{1, 0};
			setsockopt(Socket, SOL_SOCKET, SO_LINGER, &Abort, sizeof(Abort));
		});

	FHttpRequestRef Refused = MakeRequest(TEXT("GET"), ClosedPortUrl());
	const std::vector<std::shared_ptr<FOutcome>> Outcomes = {
		Send(Refused),
		Send(MakeRequest(TEXT("GET"), Truncated.Url("/file"))),
		Send(MakeRequest(TEXT("GET"), HangsUp.Url("/"))),
		Send(MakeRequest(TEXT("POST"), Resets.Url("/"))),
	};
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return AllCompleted(Outcomes);
		}));
	for (size_t Index = 0; Index < Outcomes.size(); ++Index)
	{
		SCOPED_TRACE(Index);
		EXPECT_EQ(Outcomes[Index]->Calls, 1);
		EXPECT_FALSE(Outcomes[Index]->bConnected);
		EXPECT_FALSE(Outcomes[Index]->Response.IsValid());
	}
	EXPECT_EQ(Refused->GetStatus(), EHttpRequestStatus::Failed_ConnectionError);
	EXPECT_FALSE(Refused->GetResponse().IsValid());
}

TEST(HttpTest, TimeoutAndCancelEndARequestTheServerNeverAnswers)
{
	FRawServer Silent(
		[](int Socket, const std::atomic<bool>& bStopping)
		{
			FRawServer::ReadRequestHead(Socket);
			FRawServer::StaySilent(Socket, bStopping);
		});

	FHttpRequestRef TimesOut = MakeRequest(TEXT("GET"), Silent.Url("/slow"));
	TimesOut->SetTimeout(1.0f);
	const std::shared_ptr<FOutcome> TimedOut = Send(TimesOut);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return TimedOut->Calls > 0;
		}));
	EXPECT_FALSE(TimedOut->bConnected);
	EXPECT_FALSE(TimedOut->Response.IsValid());
	EXPECT_EQ(TimesOut->GetStatus(), EHttpRequestStatus::Failed);

	FHttpRequestRef Cancelled = MakeRequest(TEXT("GET"), Silent.Url("/slow"));
	const std::shared_ptr<FOutcome> CancelOutcome = Send(Cancelled);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Silent.Connections.load() == 2;
		}));
	Cancelled->CancelRequest();
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return CancelOutcome->Calls > 0;
		}));
	EXPECT_EQ(CancelOutcome->Calls, 1);
	EXPECT_FALSE(CancelOutcome->bConnected);
	EXPECT_EQ(Cancelled->GetStatus(), EHttpRequestStatus::Failed);
}

TEST(HttpTest, RequestsThatCannotStartCompleteOnTheNextTick)
{
	FGate Gate;
	FTestServer Server;
	Server.On("GET /gated",
		[&Gate](const FSeenRequest&, FAnswer&)
		{
			Gate.Wait();
		});

	bool bStarted = true;
	const std::shared_ptr<FOutcome> NoUrl = Send(FHttpModule::Get().CreateRequest(), &bStarted);
	EXPECT_FALSE(bStarted);
	const std::shared_ptr<FOutcome> WrongScheme =
		Send(MakeRequest(TEXT("GET"), TEXT("ftp://127.0.0.1/file")), &bStarted);
	EXPECT_FALSE(bStarted);

	// Starting a request that is still running is refused and reported; the running transfer still completes.
	FHttpRequestRef Twice = MakeRequest(TEXT("GET"), Server.Url("/gated"));
	std::vector<bool> TwiceConnected;
	Twice->OnProcessRequestComplete().BindLambda(
		[&TwiceConnected](FHttpRequestPtr, FHttpResponsePtr, bool bConnected)
		{
			TwiceConnected.push_back(bConnected);
		});
	EXPECT_TRUE(Twice->ProcessRequest());
	EXPECT_FALSE(Twice->ProcessRequest());

	EXPECT_EQ(NoUrl->Calls, 0);
	EXPECT_EQ(WrongScheme->Calls, 0);
	EXPECT_TRUE(TwiceConnected.empty());
	Manager().Tick(0.0f);
	EXPECT_EQ(NoUrl->Calls, 1);
	EXPECT_FALSE(NoUrl->bConnected);
	EXPECT_FALSE(NoUrl->Response.IsValid());
	EXPECT_EQ(WrongScheme->Calls, 1);
	EXPECT_FALSE(WrongScheme->bConnected);
	EXPECT_EQ(TwiceConnected, std::vector<bool>{false});

	Gate.Open();
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return TwiceConnected.size() == 2;
		}));
	EXPECT_TRUE(TwiceConnected[1]);
	EXPECT_EQ(Twice->GetStatus(), EHttpRequestStatus::Succeeded);
}

TEST(HttpTest, CompletionsArriveOnlyDuringTickInTheOrderTheyFinish)
{
	FGate Gate;
	std::atomic<bool> bQuickAnswered{false};
	FTestServer Server;
	Server.On("GET /slow",
		[&Gate](const FSeenRequest&, FAnswer& Answer)
		{
			Gate.Wait();
			Answer.Body = "slow";
		});
	Server.On("GET /quick",
		[&bQuickAnswered](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Body = "quick";
			bQuickAnswered = true;
		});

	std::vector<std::string> Order;
	std::vector<std::thread::id> Threads;
	for (const char* Path : {"/slow", "/quick"})
	{
		FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url(Path));
		Request->OnProcessRequestComplete().BindLambda(
			[&](FHttpRequestPtr, FHttpResponsePtr Response, bool)
			{
				Order.push_back(Response.IsValid() ? ToStd(Response->GetContent()) : "none");
				Threads.push_back(std::this_thread::get_id());
			});
		Request->ProcessRequest();
	}

	// The answer is on its way or already in; without a Tick nobody hears of it.
	while (!bQuickAnswered)
	{
		std::this_thread::sleep_for(5ms);
	}
	std::this_thread::sleep_for(200ms);
	EXPECT_TRUE(Order.empty());

	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return !Order.empty();
		}));
	Gate.Open();
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Order.size() == 2;
		}));
	EXPECT_EQ(Order, (std::vector<std::string>{"quick", "slow"}));
	for (const std::thread::id& Thread : Threads)
	{
		EXPECT_EQ(Thread, std::this_thread::get_id());
	}
}

TEST(HttpTest, ARequestOutlivesItsOwnerAndThenReleasesItsDelegate)
{
	FTestServer Server;
	Server.On("GET /me",
		[](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Body = "{}";
		});

	TSharedPtr<int32> Token = MakeShared<int32>(7);
	const TWeakPtr<int32> WeakToken = Token;
	TWeakPtr<IHttpRequest> WeakRequest;
	int32 Calls = 0;
	bool bConnected = false;
	{
		FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/me"));
		WeakRequest = Request;
		Request->OnProcessRequestComplete().BindLambda(
			[Token, &Calls, &bConnected](FHttpRequestPtr Completed, FHttpResponsePtr, bool bConnectedSuccessfully)
			{
				++Calls;
				bConnected = bConnectedSuccessfully && Completed.IsValid() && *Token == 7;
			});
		Request->ProcessRequest();
	}
	Token.Reset();
	EXPECT_TRUE(WeakRequest.IsValid());
	EXPECT_TRUE(WeakToken.IsValid());

	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Calls > 0;
		}));
	EXPECT_EQ(Calls, 1);
	EXPECT_TRUE(bConnected);
	EXPECT_FALSE(WeakRequest.IsValid());
	EXPECT_FALSE(WeakToken.IsValid());
	EXPECT_EQ(Manager().GetNumOutstandingRequests(), 0);
}

TEST(HttpTest, LargeBodiesArriveIntactAndAMovedBodyIsNotCopied)
{
	const TArray<uint8> Expected = Pattern(16 * 1024 * 1024);
	FTestServer Server;
	Server.On("PUT /model", [](const FSeenRequest&, FAnswer&) {});
	Server.On("GET /model.fbx",
		[&Expected](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Body = ToStd(Expected);
		});

	TArray<uint8> Body = Expected;
	const uint8* const Bytes = Body.GetData();
	FHttpRequestRef Upload = MakeRequest(TEXT("PUT"), Server.Url("/model"));
	Upload->SetContent(MoveTemp(Body));
	EXPECT_EQ(Upload->GetContent().GetData(), Bytes);
	EXPECT_EQ(Upload->GetContentLength(), (uint64)Expected.Num());
	const std::shared_ptr<FOutcome> Uploaded = Send(Upload);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Uploaded->Calls > 0;
		}));
	ASSERT_TRUE(Uploaded->bConnected);
	EXPECT_EQ(Uploaded->Response->GetResponseCode(), 200);
	EXPECT_TRUE(Server.Last().Body == ToStd(Expected));

	const std::shared_ptr<FOutcome> Downloaded = Send(MakeRequest(TEXT("GET"), Server.Url("/model.fbx")));
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Downloaded->Calls > 0;
		}));
	ASSERT_TRUE(Downloaded->bConnected);
	EXPECT_TRUE(Downloaded->Response->GetContent() == Expected);
}

TEST(HttpTest, FollowsRedirectsAndSendsAnyVerb)
{
	FTestServer Server;
	const auto Echo = [](const FSeenRequest& Request, FAnswer& Answer)
	{
		Answer.Body = Request.Method + ":" + Request.Body;
	};
	Server.On("GET /old",
		[](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Status = 302;
			Answer.Headers = {{"Location", "/echo"}, {"X-Old", "1"}};
		});
	for (const char* Verb : {"GET", "PUT", "PATCH", "DELETE", "POST", "OPTIONS"})
	{
		Server.On(std::string(Verb) + " /echo", Echo);
	}

	struct FCase
	{
		const TCHAR* Verb;
		const char* Path;
		const char* Body;
		std::string Answer;
	};
	const std::vector<FCase> Cases = {
		{TEXT("GET"), "/old", "", "GET:"},
		{TEXT("PUT"), "/echo", "put-body", "PUT:put-body"},
		{TEXT("PATCH"), "/echo", "patch-body", "PATCH:patch-body"},
		{TEXT("DELETE"), "/echo", "", "DELETE:"},
		{TEXT("OPTIONS"), "/echo", "", "OPTIONS:"},
		{TEXT("post"), "/echo", "", "POST:"},
		{TEXT("HEAD"), "/echo", "", ""},
	};
	std::vector<std::shared_ptr<FOutcome>> Outcomes;
	for (const FCase& Case : Cases)
	{
		FHttpRequestRef Request = MakeRequest(Case.Verb, Server.Url(Case.Path));
		if (*Case.Body != '\0')
		{
			Request->SetContentAsString(ToFString(Case.Body));
		}
		Outcomes.push_back(Send(Request));
	}
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return AllCompleted(Outcomes);
		}));
	for (size_t Index = 0; Index < Cases.size(); ++Index)
	{
		SCOPED_TRACE(Index);
		ASSERT_TRUE(Outcomes[Index]->bConnected);
		EXPECT_EQ(Outcomes[Index]->Response->GetResponseCode(), 200);
		EXPECT_EQ(ToStd(Outcomes[Index]->Response->GetContent()), Cases[Index].Answer);
	}
	// Only the final answer's headers are kept.
	EXPECT_TRUE(Outcomes[0]->Response->GetHeader(TEXT("X-Old")).IsEmpty());
}

TEST(HttpTest, AStreamedFileIsSentAsTheBody)
{
	char Path[] = "/tmp/http-streamed-XXXXXX";
	const int File = mkstemp(Path);
	ASSERT_GE(File, 0);
	const std::string Contents("mesh\0data\r\n\xff", 12);
	ASSERT_EQ(write(File, Contents.data(), Contents.size()), (ssize_t)Contents.size());
	close(File);

	FTestServer Server;
	Server.On("POST /upload", [](const FSeenRequest&, FAnswer&) {});

	FHttpRequestRef Request = MakeRequest(TEXT("POST"), Server.Url("/upload"));
	// The engine takes a POST body without a Content-Type for form data, which a file never is.
	Request->SetHeader(TEXT("Content-Type"), TEXT("application/octet-stream"));
	EXPECT_FALSE(Request->SetContentAsStreamedFile(TEXT("/nonexistent/dir/file.bin")));
	ASSERT_TRUE(Request->SetContentAsStreamedFile(ToFString(Path)));
	const std::shared_ptr<FOutcome> Outcome = Send(Request);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Outcome->Calls > 0;
		}));
	unlink(Path);
	ASSERT_TRUE(Outcome->bConnected);
	EXPECT_EQ(Server.Last().Body, Contents);
	EXPECT_EQ(Server.Last().Header("Content-Length"), "12");
}

TEST(HttpTest, FlushWaitsForRequestsAndShutdownCompletesTheRestUnconnected)
{
	FTestServer Server;
	Server.On("GET /ok",
		[](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Body = "ok";
		});
	FRawServer Silent(
		[](int Socket, const std::atomic<bool>& bStopping)
		{
			FRawServer::ReadRequestHead(Socket);
			FRawServer::StaySilent(Socket, bStopping);
		});

	const std::shared_ptr<FOutcome> Quick = Send(MakeRequest(TEXT("GET"), Server.Url("/ok")));
	Manager().Flush(EHttpFlushReason::Default);
	EXPECT_EQ(Quick->Calls, 1);
	EXPECT_TRUE(Quick->bConnected);

	const std::shared_ptr<FOutcome> Hung = Send(MakeRequest(TEXT("GET"), Silent.Url("/")));
	Manager().Flush(EHttpFlushReason::Shutdown);
	EXPECT_EQ(Hung->Calls, 1);
	EXPECT_FALSE(Hung->bConnected);
	EXPECT_EQ(Manager().GetNumOutstandingRequests(), 0);

	// The module stays usable after a shutdown flush.
	const std::shared_ptr<FOutcome> After = Send(MakeRequest(TEXT("GET"), Server.Url("/ok")));
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return After->Calls > 0;
		}));
	EXPECT_TRUE(After->bConnected);
}

/** Leaves the program while a request waits on a listener that never accepts, so no answer can ever come. */
[[noreturn]] void ExitWithARequestInFlight()
{
	int Port = 0;
	const int Listener = ListenOnLoopback(Port);
	Send(MakeRequest(TEXT("GET"), ToFString("http://127.0.0.1:" + std::to_string(Port) + "/")));
	pollfd Poll{Listener, POLLIN, 0};
	poll(&Poll, 1, 5000);
	std::exit(0);
}

TEST(HttpDeathTest, ExitingWithARequestInFlightEndsCleanly)
{
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	EXPECT_EXIT(ExitWithARequestInFlight(), testing::ExitedWithCode(0), "");
}

// ---- Streamed bodies: an archive read as the transfer asks for it, an answer handed to an archive as it arrives ----

namespace
{
/** An archive over bytes in memory that notes which threads read or wrote it, and can be slow or fail. */
class FRecordingArchive final : public FArchive
{
public:
	explicit FRecordingArchive(TArray<uint8> InBytes = TArray<uint8>())
		: Bytes(MoveTemp(InBytes))
	{
	}

	void Serialize(void* V, int64 Length) override
	{
		++Calls;
		LastThread = std::this_thread::get_id();
		if (Delay.count() > 0)
		{
			std::this_thread::sleep_for(Delay);
		}
		if (FailAfterBytes >= 0 && Pos + Length > FailAfterBytes)
		{
			SetError();
			return;
		}
		if (IsLoading())
		{
			std::memcpy(V, Bytes.GetData() + Pos, (size_t)Length);
		}
		else
		{
			Bytes.Append((const uint8*)V, (int32)Length);
		}
		Pos += Length;
	}
	int64 Tell() override { return Pos; }
	int64 TotalSize() override { return Bytes.Num(); }
	void Seek(int64 InPos) override
	{
		++Seeks;
		Pos = InPos;
	}

	TArray<uint8> Bytes;
	int64 Pos = 0;
	std::atomic<int32> Calls{0};
	std::atomic<int32> Seeks{0};
	std::thread::id LastThread;
	std::chrono::milliseconds Delay{0};
	/** Past this many bytes every Serialize fails; -1 never. */
	int64 FailAfterBytes = -1;
};

TSharedRef<FRecordingArchive, ESPMode::ThreadSafe> ReaderOver(const TArray<uint8>& Bytes)
{
	const TSharedRef<FRecordingArchive, ESPMode::ThreadSafe> Archive = MakeShared<FRecordingArchive>(Bytes);
	Archive->SetIsLoading(true);
	return Archive;
}

TSharedRef<FRecordingArchive, ESPMode::ThreadSafe> Writer()
{
	const TSharedRef<FRecordingArchive, ESPMode::ThreadSafe> Archive = MakeShared<FRecordingArchive>();
	Archive->SetIsSaving(true);
	return Archive;
}
} // namespace

TEST(HttpStreamTest, AnArchiveIsSentAsTheBodyWithItsSizeAsContentLength)
{
	const TArray<uint8> Expected = Pattern(3 * 1024 * 1024 + 17);
	FTestServer Server;
	Server.On("POST /upload", [](const FSeenRequest&, FAnswer&) {});

	const TSharedRef<FRecordingArchive, ESPMode::ThreadSafe> Archive = ReaderOver(Expected);
	FHttpRequestRef Request = MakeRequest(TEXT("POST"), Server.Url("/upload"));
	Request->SetHeader(TEXT("Content-Type"), TEXT("application/octet-stream"));
	ASSERT_TRUE(Request->SetContentFromStream(Archive));
	EXPECT_EQ(Request->GetContentLength(), (uint64)Expected.Num());
	const std::shared_ptr<FOutcome> Outcome = Send(Request);
	// The body is fixed once the request is in flight.
	EXPECT_FALSE(Request->SetContentFromStream(ReaderOver(Pattern(4))));
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Outcome->Calls > 0;
		}));
	ASSERT_TRUE(Outcome->bConnected);
	EXPECT_EQ(Outcome->Thread, std::this_thread::get_id());
	EXPECT_TRUE(Server.Last().Body == ToStd(Expected));
	EXPECT_EQ(Server.Last().Header("Content-Length"), std::to_string(Expected.Num()));
	// Read as the transfer asked for it, in pieces, on the HTTP thread; never sought while reading straight on.
	EXPECT_GT(Archive->Calls.load(), 8);
	EXPECT_NE(Archive->LastThread, std::this_thread::get_id());
	EXPECT_EQ(Archive->Seeks.load(), 0);

	// The delegate form reads the same way, and an empty archive sends an empty body.
	std::atomic<int64> Handed{0};
	FHttpRequestRef ByDelegate = MakeRequest(TEXT("POST"), Server.Url("/upload"));
	ByDelegate->SetHeader(TEXT("Content-Type"), TEXT("application/octet-stream"));
	ByDelegate->SetContentFromStreamDelegate(FHttpRequestStreamDelegate::CreateLambda(
		[&Handed](void*, int64 Length)
		{
			Handed += Length;
			return true;
		}));
	const std::shared_ptr<FOutcome> DelegateOutcome = Send(ByDelegate);
	FHttpRequestRef Empty = MakeRequest(TEXT("POST"), Server.Url("/upload"));
	Empty->SetHeader(TEXT("Content-Type"), TEXT("application/octet-stream"));
	Empty->SetContentFromStream(ReaderOver(TArray<uint8>()));
	const std::shared_ptr<FOutcome> EmptyOutcome = Send(Empty);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return DelegateOutcome->Calls > 0 && EmptyOutcome->Calls > 0;
		}));
	// An archive made from a delegate has no size of its own: the request cannot start.
	EXPECT_FALSE(DelegateOutcome->bConnected);
	EXPECT_EQ(Handed.load(), 0);
	ASSERT_TRUE(EmptyOutcome->bConnected);
	EXPECT_EQ(Server.Last().Header("Content-Length"), "0");
	EXPECT_TRUE(Server.Last().Body.empty());

	// A GET cannot carry a body: it does not start, and completes unconnected.
	FHttpRequestRef Get = MakeRequest(TEXT("GET"), Server.Url("/upload"));
	Get->SetContentFromStream(ReaderOver(Pattern(10)));
	bool bStarted = true;
	const std::shared_ptr<FOutcome> GetOutcome = Send(Get, &bStarted);
	EXPECT_FALSE(bStarted);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return GetOutcome->Calls > 0;
		}));
	EXPECT_FALSE(GetOutcome->bConnected);
}

TEST(HttpStreamTest, ASlowReaderIsWaitedForAndTheGameThreadIsNot)
{
	const TArray<uint8> Expected = Pattern(1024 * 1024);
	FTestServer Server;
	Server.On("PUT /upload", [](const FSeenRequest&, FAnswer&) {});

	const TSharedRef<FRecordingArchive, ESPMode::ThreadSafe> Archive = ReaderOver(Expected);
	Archive->Delay = std::chrono::milliseconds(15);
	FHttpRequestRef Request = MakeRequest(TEXT("PUT"), Server.Url("/upload"));
	ASSERT_TRUE(Request->SetContentFromStream(Archive));
	const auto Start = std::chrono::steady_clock::now();
	const std::shared_ptr<FOutcome> Outcome = Send(Request);
	// Starting the request reads nothing on the caller's thread.
	EXPECT_LT(std::chrono::steady_clock::now() - Start, 10ms);
	int32 Ticks = 0;
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			++Ticks;
			return Outcome->Calls > 0;
		}));
	ASSERT_TRUE(Outcome->bConnected);
	EXPECT_EQ(Outcome->Response->GetResponseCode(), 200);
	EXPECT_TRUE(Server.Last().Body == ToStd(Expected));
	EXPECT_GT(Archive->Calls.load(), 4);
	// The frame loop kept ticking while the reader took its time.
	EXPECT_GT(Ticks, Archive->Calls.load());
}

TEST(HttpStreamDeathTest, APostOfAStreamWithoutContentTypeStopsTheProcess)
{
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	EXPECT_DEATH(
		{
			FHttpRequestRef Request = MakeRequest(TEXT("POST"), ClosedPortUrl());
			Request->SetContentFromStream(ReaderOver(Pattern(10)));
			Request->ProcessRequest();
		},
		"Content-Type");
}

TEST(HttpStreamTest, EveryAnswersBodyGoesToTheArchiveAndNotToTheResponse)
{
	const TArray<uint8> Expected = Pattern(8 * 1024 * 1024 + 5);
	FTestServer Server;
	Server.On("GET /model.fbx",
		[&Expected](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Body = ToStd(Expected);
		});
	Server.On("GET /gone",
		[](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Status = 404;
			Answer.Body = "{\"detail\": \"Gone.\"}";
		});

	const TSharedRef<FRecordingArchive, ESPMode::ThreadSafe> Archive = Writer();
	const TSharedRef<FRecordingArchive, ESPMode::ThreadSafe> ErrorBody = Writer();
	FHttpRequestPtr Request = MakeRequest(TEXT("GET"), Server.Url("/model.fbx"));
	ASSERT_TRUE(Request->SetResponseBodyReceiveStream(Archive));
	const std::shared_ptr<FOutcome> Outcome = Send(Request.ToSharedRef());
	FHttpRequestRef Gone = MakeRequest(TEXT("GET"), Server.Url("/gone"));
	Gone->SetResponseBodyReceiveStream(ErrorBody);
	const std::shared_ptr<FOutcome> Missing = Send(Gone);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Outcome->Calls > 0 && Missing->Calls > 0;
		}));
	ASSERT_TRUE(Outcome->bConnected);
	EXPECT_EQ(Outcome->Response->GetResponseCode(), 200);
	EXPECT_TRUE(Archive->Bytes == Expected);
	EXPECT_EQ(Outcome->Response->GetContent().Num(), 0);
	EXPECT_TRUE(Outcome->Response->GetContentAsString().IsEmpty());
	EXPECT_NE(Archive->LastThread, std::this_thread::get_id());
	EXPECT_EQ(Outcome->Thread, std::this_thread::get_id());

	ASSERT_TRUE(Missing->bConnected);
	EXPECT_EQ(Missing->Response->GetResponseCode(), 404);
	EXPECT_EQ(ToStd(ErrorBody->Bytes), "{\"detail\": \"Gone.\"}");
	EXPECT_TRUE(Missing->Response->GetContentAsString().IsEmpty());

	// The request holds the archive as long as the request lives, after its completion too, and lets it go with it.
	EXPECT_EQ(Archive.GetSharedReferenceCount(), 2);
	Request.Reset();
	EXPECT_EQ(Archive.GetSharedReferenceCount(), 1);
}

TEST(HttpStreamTest, AnArchiveThatCannotTakeTheBodyFailsTheRequest)
{
	FTestServer Server;
	Server.On("GET /model.fbx",
		[](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Body = ToStd(Pattern(4 * 1024 * 1024));
		});

	const TSharedRef<FRecordingArchive, ESPMode::ThreadSafe> Archive = Writer();
	Archive->FailAfterBytes = 256 * 1024;
	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/model.fbx"));
	Request->SetResponseBodyReceiveStream(Archive);
	const std::shared_ptr<FOutcome> Outcome = Send(Request);

	int64 Refused = 0;
	FHttpRequestRef ByDelegate = MakeRequest(TEXT("GET"), Server.Url("/model.fbx"));
	ByDelegate->SetResponseBodyReceiveStreamDelegate(FHttpRequestStreamDelegate::CreateLambda(
		[&Refused](void*, int64 Length)
		{
			Refused += Length;
			return false;
		}));
	const std::shared_ptr<FOutcome> DelegateOutcome = Send(ByDelegate);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Outcome->Calls > 0 && DelegateOutcome->Calls > 0;
		}));
	EXPECT_FALSE(Outcome->bConnected);
	EXPECT_TRUE(Archive->IsError());
	EXPECT_LE(Archive->Bytes.Num(), 256 * 1024);
	EXPECT_FALSE(DelegateOutcome->bConnected);
	EXPECT_GT(Refused, 0);
}

namespace
{
/** Writes what it is given straight into a file, as a file writer does, and notes when a write fails. */
class FFileArchive final : public FArchive
{
public:
	explicit FFileArchive(const std::string& Path)
		: File(std::fopen(Path.c_str(), "wb"))
	{
		SetIsSaving(true);
	}
	~FFileArchive() override { Close(); }
	void Serialize(void* V, int64 Length) override
	{
		if (File == nullptr || std::fwrite(V, 1, (size_t)Length, File) != (size_t)Length || std::fflush(File) != 0)
		{
			SetError();
		}
	}
	bool Close() override
	{
		if (File != nullptr && std::fclose(File) != 0)
		{
			SetError();
		}
		File = nullptr;
		return !IsError();
	}

private:
	std::FILE* File;
};
} // namespace

TEST(HttpStreamTest, AFullDiskEndsAStreamedDownloadUnconnected)
{
	HostTest::FTempDir Temp;
	const FString Disk = Temp.Path + TEXT("disk");
	if (!HostFilesTesting::MountSmallDisk(Disk, 256))
	{
		GTEST_SKIP() << "mounting a small disk is not permitted here";
	}
	FTestServer Server;
	Server.On("GET /model.fbx",
		[](const FSeenRequest&, FAnswer& Answer)
		{
			Answer.Body = ToStd(Pattern(2 * 1024 * 1024));
		});

	const TSharedRef<FFileArchive, ESPMode::ThreadSafe> Archive =
		MakeShared<FFileArchive>(HostTest::Utf8(Disk / TEXT("model.fbx")));
	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/model.fbx"));
	Request->SetResponseBodyReceiveStream(Archive);
	const std::shared_ptr<FOutcome> Outcome = Send(Request);
	ASSERT_TRUE(PumpUntil(
		[&]()
		{
			return Outcome->Calls > 0;
		}));
	EXPECT_FALSE(Outcome->bConnected);
	EXPECT_TRUE(Archive->IsError());
	EXPECT_FALSE(Archive->Close());
	HostFilesTesting::UnmountSmallDisk(Disk);
}
