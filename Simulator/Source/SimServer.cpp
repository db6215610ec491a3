#include "SimServer.h"

#include "Log.h"
#include "ModelInspector.h"
#include "Multipart.h"
#include "Persistence.h"
#include "Tokens.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace tvsim
{
namespace
{
/** Connections the kernel queues for accept(); httplib's own five make a burst of clients wait for SYN retries. */
constexpr int ListenBacklog = 1024;

/**
 * httplib listens with a backlog it fixes when the library is built, and keeps its socket to itself: find the socket
 * listening on Port in this process and listen again with a deeper queue (Linux takes a new backlog that way).
 */
void WidenListenBacklog(int Port)
{
	const int Limit = static_cast<int>(::sysconf(_SC_OPEN_MAX));
	for (int Descriptor = 0; Descriptor < Limit && Descriptor < 65536; ++Descriptor)
	{
		int Accepting = 0;
		socklen_t Length = sizeof Accepting;
		if (::getsockopt(Descriptor, SOL_SOCKET, SO_ACCEPTCONN, &Accepting, &Length) != 0 || Accepting == 0)
		{
			continue;
		}
		sockaddr_in Address{};
		socklen_t AddressLength = sizeof Address;
		if (::getsockname(Descriptor, reinterpret_cast<sockaddr*>(&Address), &AddressLength) == 0 &&
			Address.sin_family == AF_INET && ntohs(Address.sin_port) == Port)
		{
			::listen(Descriptor, ListenBacklog);
			return;
		}
	}
}

// httplib parses multipart bodies itself and keeps no raw bytes; the simulator wants the raw
// body (to record it byte for byte, and to judge malformed bodies itself), so the pre-routing
// step moves the real Content-Type aside under this name.
constexpr const char* StashedContentType = "X-Tarvoline-Sim-Content-Type";
// Marks an error answer whose body must go out as the fault made it (even when empty).
constexpr const char* RawAnswerMarker = "X-Tarvoline-Sim-Raw";

thread_local std::chrono::steady_clock::time_point RequestStart;
// The fault applied to the request this thread is serving, for its log line.
thread_local std::string RequestFault;

const std::string JsonType = "application/json";

std::string Lower(std::string Text)
{
	std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
	return Text;
}

const char* ReasonPhrase(int Status)
{
	switch (Status)
	{
		case 400: return "Bad Request";
		case 401: return "Unauthorized";
		case 402: return "Payment Required";
		case 403: return "Forbidden";
		case 404: return "Not Found";
		case 405: return "Method Not Allowed";
		case 408: return "Request Timeout";
		case 409: return "Conflict";
		case 413: return "Payload Too Large";
		case 422: return "Unprocessable Entity";
		case 429: return "Too Many Requests";
		case 500: return "Internal Server Error";
		case 502: return "Bad Gateway";
		case 503: return "Service Unavailable";
		case 504: return "Gateway Timeout";
		default: return Status >= 500 ? "Server Error" : Status >= 400 ? "Client Error" : "OK";
	}
}

void SendJson(httplib::Response& Res, int Status, const nlohmann::json& Body)
{
	Res.status = Status;
	Res.set_content(Body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), JsonType);
	if (Status == 401)
	{
		Res.set_header("WWW-Authenticate", "Bearer");
	}
}

void SendAnswer(httplib::Response& Res, const Answer& A)
{
	SendJson(Res, A.Status, A.Body);
}

void SendDetail(httplib::Response& Res, int Status, const std::string& Text)
{
	SendAnswer(Res, Detail(Status, Text));
}

std::string ContentTypeOf(const httplib::Request& Req)
{
	return Req.has_header(StashedContentType) ? Req.get_header_value(StashedContentType)
											  : Req.get_header_value("Content-Type");
}

std::vector<std::string> SplitPath(const std::string& Path)
{
	std::vector<std::string> Parts;
	std::size_t Start = 1;
	while (Start <= Path.size())
	{
		const auto Slash = Path.find('/', Start);
		const auto End = Slash == std::string::npos ? Path.size() : Slash;
		Parts.push_back(Path.substr(Start, End - Start));
		if (Slash == std::string::npos)
		{
			break;
		}
		Start = Slash + 1;
	}
	return Parts;
}

// Closes this request's connection without an answer: the socket is found by its two ends
// (this server's port and the client's port) and shut down; httplib then fails to write and
// closes it.
void DropConnection(const httplib::Request& Req)
{
	for (int Fd = 3; Fd < 65536; ++Fd)
	{
		sockaddr_in Local{};
		socklen_t Length = sizeof Local;
		if (getsockname(Fd, reinterpret_cast<sockaddr*>(&Local), &Length) != 0 || Local.sin_family != AF_INET ||
			ntohs(Local.sin_port) != Req.local_port)
		{
			continue;
		}
		sockaddr_in Peer{};
		Length = sizeof Peer;
		if (getpeername(Fd, reinterpret_cast<sockaddr*>(&Peer), &Length) == 0 && ntohs(Peer.sin_port) == Req.remote_port)
		{
			::shutdown(Fd, SHUT_RDWR);
			return;
		}
	}
}

std::string Html(int Status)
{
	const std::string Code = std::to_string(Status);
	const std::string Reason = ReasonPhrase(Status);
	return "<!DOCTYPE html>\n<html>\n<head><title>" + Code + " " + Reason + "</title></head>\n<body>\n<center><h1>" +
		   Code + " " + Reason + "</h1></center>\n<hr><center>edge gateway</center>\n</body>\n</html>\n";
}

bool IsSafeHost(const std::string& Host)
{
	return !Host.empty() && Host.size() < 256 && std::all_of(Host.begin(), Host.end(), [](unsigned char C) {
		return std::isalnum(C) || C == '.' || C == ':' || C == '-' || C == '[' || C == ']';
	});
}

// Reads a text member of a JSON request body; refuses it the way the service's validator does.
std::optional<Answer> TextField(const nlohmann::json& Body, const char* Name, std::string& Out)
{
	if (!Body.contains(Name))
	{
		return Invalid(Name, "field required", "value_error.missing");
	}
	if (!Body[Name].is_string())
	{
		return Invalid(Name, "str type expected", "type_error.str");
	}
	Out = Body[Name].get<std::string>();
	return std::nullopt;
}
} // namespace

SimServer::SimServer(ServerOptions InOptions) : Options(std::move(InOptions))
{
	StoreOptions StateOptions;
	StateOptions.TimeScale = Options.TimeScale;
	if (!Options.DataDir.empty())
	{
		fs::create_directories(Options.DataDir);
		StateOptions.StateFile = (fs::path(Options.DataDir) / "state.json").string();
	}
	StatePtr = std::make_unique<Store>(StateOptions);
}

SimServer::~SimServer()
{
	Stop();
}

int SimServer::Start()
{
	// A client that hangs up mid-answer must not take the process down.
	::signal(SIGPIPE, SIG_IGN);

	Http = std::make_unique<httplib::Server>();
	const std::size_t Threads = Options.Threads;
	Http->new_task_queue = [Threads] { return new httplib::ThreadPool(Threads); };
	Http->set_payload_max_length(Options.MaxUploadBytes + 1024 * 1024);
	Http->set_keep_alive_max_count(1000);
	// An idle kept-alive connection holds its worker thread until this timeout, and stopping waits for every worker:
	// one second keeps SIGTERM quick while still serving a client's burst of requests on one connection.
	Http->set_keep_alive_timeout(1);

	Http->set_pre_routing_handler([](const httplib::Request& Req, httplib::Response&) {
		RequestStart = std::chrono::steady_clock::now();
		RequestFault.clear();
		const std::string Type = Req.get_header_value("Content-Type");
		if (Type.size() >= 10 && Lower(Type.substr(0, 10)) == "multipart/")
		{
			// The request object is owned by the server's connection loop and is not const
			// there; only the handler signature is.
			auto& Mutable = const_cast<httplib::Request&>(Req);
			Mutable.headers.erase("Content-Type");
			Mutable.headers.emplace("Content-Type", "application/octet-stream");
			Mutable.headers.emplace(StashedContentType, Type);
		}
		return httplib::Server::HandlerResponse::Unhandled;
	});

	auto Handler = [this](const httplib::Request& Req, httplib::Response& Res) { Handle(Req, Res); };
	Http->Get(".*", Handler);
	Http->Post(".*", Handler);
	Http->Put(".*", Handler);
	Http->Patch(".*", Handler);
	Http->Delete(".*", Handler);
	Http->Options(".*", Handler);

	Http->set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& Res) {
		if (Res.has_header(RawAnswerMarker))
		{
			Res.headers.erase(RawAnswerMarker);
			return httplib::Server::HandlerResponse::Handled;
		}
		if (Res.body.empty())
		{
			const std::string Text = Res.status == 413 ? "That file is too large to upload."
									 : Res.status == 400 ? "The request could not be read."
									 : Res.status == 404 ? "Not found."
														 : std::string(ReasonPhrase(Res.status));
			SendDetail(Res, Res.status, Text);
		}
		return httplib::Server::HandlerResponse::Handled;
	}));

	Http->set_logger([this](const httplib::Request& Req, const httplib::Response& Res) {
		if (Options.Quiet)
		{
			return;
		}
		const auto Ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - RequestStart).count();
		char Line[96];
		if (RequestFault == "drop" || RequestFault == "dropAfter")
		{
			std::snprintf(Line, sizeof Line, " -> dropped, %.1f ms", Ms);
		}
		else
		{
			std::snprintf(Line, sizeof Line, " -> %d, %zu bytes, %.1f ms", Res.status, Res.body.size(), Ms);
		}
		LogLine(Req.method + " " + Req.target + Line + (RequestFault.empty() ? "" : " [fault " + RequestFault + "]"));
	});

	if (Options.Port == 0)
	{
		BoundPort = Http->bind_to_any_port("127.0.0.1");
	}
	else
	{
		BoundPort = Http->bind_to_port("127.0.0.1", Options.Port) ? Options.Port : -1;
	}
	if (BoundPort <= 0)
	{
		BoundPort = -1;
		return -1;
	}
	WidenListenBacklog(BoundPort);
	Stopping = false;
	ServeDone = false;
	ServeThread = std::thread([this] {
		Http->listen_after_bind();
		ServeDone = true;
	});
	return BoundPort;
}

void SimServer::Stop()
{
	if (!Http)
	{
		return;
	}
	{
		std::lock_guard Lock(PauseMutex);
		Stopping = true;
	}
	PauseWake.notify_all();
	// stop() only closes the listening socket of a loop that is already running; called earlier it does nothing and
	// the loop that starts afterwards would serve forever. So wait until the loop runs (or has ended) first.
	while (!ServeDone && !Http->is_running())
	{
		std::this_thread::sleep_for(std::chrono::milliseconds(1));
	}
	Http->stop();
	if (ServeThread.joinable())
	{
		ServeThread.join();
	}
	Http.reset();
}

bool SimServer::Pause(int Milliseconds)
{
	std::unique_lock Lock(PauseMutex);
	return !PauseWake.wait_for(Lock, std::chrono::milliseconds(Milliseconds), [this] { return Stopping.load(); });
}

std::string SimServer::BaseUrl(const httplib::Request& Req) const
{
	const std::string Host = Req.get_header_value("Host");
	return "http://" + (IsSafeHost(Host) ? Host : "127.0.0.1:" + std::to_string(BoundPort));
}

void SimServer::Handle(const httplib::Request& Req, httplib::Response& Res)
{
	if (Req.path == "/_sim" || Req.path.rfind("/_sim/", 0) == 0)
	{
		if (!Options.AllowControl)
		{
			SendDetail(Res, 404, "Not found.");
			return;
		}
		HandleControl(Req, Res);
		return;
	}

	RecordedRequest Record;
	Record.Time = State().Clock().Now();
	Record.Method = Req.method;
	const auto Question = Req.target.find('?');
	Record.Path = Req.target.substr(0, Question);
	Record.Query = Question == std::string::npos ? "" : Req.target.substr(Question + 1);
	for (const auto& [Name, Value] : Req.headers)
	{
		// httplib files the connection's addresses among the headers; they were never sent.
		if (Name == StashedContentType || Name == "LOCAL_ADDR" || Name == "LOCAL_PORT" || Name == "REMOTE_ADDR" ||
			Name == "REMOTE_PORT")
		{
			continue;
		}
		Record.Headers.emplace_back(Name, Lower(Name) == "content-type" ? ContentTypeOf(Req) : Value);
	}
	Record.Body = Req.body;
	const long long Seq = Recorder.Add(std::move(Record));

	const std::optional<Fault> Hit = FaultList.Take(Req.method, Req.path);
	if (!Hit)
	{
		Route(Req, Res);
		Recorder.SetOutcome(Seq, Res.status, "");
		return;
	}

	const Fault& F = *Hit;
	const std::string Kind = FaultKindName(F.Kind);
	RequestFault = Kind;
	auto ApplyHeaders = [&] {
		for (const auto& [Name, Value] : F.Headers)
		{
			Res.set_header(Name, Value);
		}
	};
	auto Canned = [&](const std::string& Body, const std::string& Type) {
		Res.status = F.Status;
		Res.body = Body;
		Res.set_header("Content-Type", F.ContentType.empty() ? Type : F.ContentType);
		if (F.Status >= 400)
		{
			Res.set_header(RawAnswerMarker, "1");
		}
		ApplyHeaders();
		Recorder.SetOutcome(Seq, F.Status, Kind);
	};

	switch (F.Kind)
	{
		case FaultKind::Status:
			if (F.Detail)
			{
				Canned(nlohmann::json{{"detail", *F.Detail}}.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), JsonType);
			}
			else
			{
				Canned(F.Body.value_or(""), JsonType);
			}
			return;
		case FaultKind::Html:
			Canned(F.Body.value_or(Html(F.Status)), "text/html; charset=utf-8");
			return;
		case FaultKind::Empty:
			Canned("", JsonType);
			return;
		case FaultKind::Number:
			Canned(F.Body.value_or("42"), JsonType);
			return;
		case FaultKind::Malformed:
			Canned(F.Body.value_or("{\"id\": \"7c2a\", \"status\": ready,, \"progress\": }"), JsonType);
			return;
		case FaultKind::Drop:
			DropConnection(Req);
			Recorder.SetOutcome(Seq, 0, Kind);
			return;
		case FaultKind::Delay:
			if (!Pause(F.DelayMs))
			{
				DropConnection(Req);
				return;
			}
			break;
		default:
			break;
	}

	Route(Req, Res);
	ApplyHeaders();
	Recorder.SetOutcome(Seq, F.Kind == FaultKind::DropAfter ? 0 : Res.status, Kind);

	switch (F.Kind)
	{
		case FaultKind::Truncated:
			Res.body.resize(Res.body.size() / 2);
			break;
		case FaultKind::DropAfter:
			DropConnection(Req);
			break;
		case FaultKind::Cut:
		case FaultKind::Slow:
		{
			auto Body = std::make_shared<std::string>(std::move(Res.body));
			Res.body.clear();
			const std::string Type = Res.get_header_value("Content-Type");
			Res.headers.erase("Content-Type");
			if (Res.status >= 400)
			{
				// The body now comes from the provider: keep the error handler from writing one of its own instead.
				Res.set_header(RawAnswerMarker, "1");
			}
			if (F.Kind == FaultKind::Cut)
			{
				Res.set_content_provider(Body->size(), Type, [Body](std::size_t Offset, std::size_t, httplib::DataSink& Sink) {
					if (Offset == 0 && Body->size() >= 2)
					{
						Sink.write(Body->data(), Body->size() / 2);
						return true;
					}
					return false; // the rest never comes: httplib closes the connection
				});
			}
			else
			{
				const std::size_t Chunk = std::max<std::size_t>(1, static_cast<std::size_t>(F.BytesPerSecond) / 10);
				Res.set_content_provider(Body->size(), Type,
					[this, Body, Chunk](std::size_t Offset, std::size_t Length, httplib::DataSink& Sink) {
						const std::size_t N = std::min({Chunk, Length, Body->size() - Offset});
						if (!Sink.write(Body->data() + Offset, N))
						{
							return false;
						}
						return Offset + N >= Body->size() || Pause(100);
					});
			}
			break;
		}
		default:
			break;
	}
}

void SimServer::Route(const httplib::Request& Req, httplib::Response& Res)
{
	const auto Parts = SplitPath(Req.path);
	const std::string& Method = Req.method;

	if (Parts.size() == 3 && Parts[0] == "downloads")
	{
		if (Method != "GET")
		{
			SendDetail(Res, 405, "Method not allowed.");
			return;
		}
		Download(Req, Res, Parts[1], Parts[2]);
		return;
	}
	if (Parts.empty() || Parts[0] != "v1")
	{
		SendDetail(Res, 404, "Not found.");
		return;
	}

	// Which endpoint, before the key is looked at, so unknown paths are 404 for everyone.
	enum class Endpoint { None, Me, Assets, Asset, Plan, Generate, Job } Which = Endpoint::None;
	std::string Id;
	if (Parts.size() == 3 && Parts[1] == "auth" && Parts[2] == "me")
	{
		Which = Endpoint::Me;
	}
	else if (Parts.size() == 2 && Parts[1] == "assets")
	{
		Which = Endpoint::Assets;
	}
	else if (Parts.size() == 3 && Parts[1] == "assets" && !Parts[2].empty())
	{
		Which = Endpoint::Asset;
		Id = Parts[2];
	}
	else if (Parts.size() == 2 && Parts[1] == "plan")
	{
		Which = Endpoint::Plan;
	}
	else if (Parts.size() == 2 && Parts[1] == "generate")
	{
		Which = Endpoint::Generate;
	}
	else if (Parts.size() == 3 && Parts[1] == "jobs" && !Parts[2].empty())
	{
		Which = Endpoint::Job;
		Id = Parts[2];
	}
	if (Which == Endpoint::None)
	{
		SendDetail(Res, 404, "Not found.");
		return;
	}
	const bool Post = Which == Endpoint::Plan || Which == Endpoint::Generate;
	const bool Either = Which == Endpoint::Assets;
	if (!(Method == "GET" && !Post) && !(Method == "POST" && (Post || Either)))
	{
		SendDetail(Res, 405, "Method not allowed.");
		return;
	}

	// Every API endpoint needs "Authorization: Bearer tv_...".
	const std::string Authorization = Req.get_header_value("Authorization");
	if (Authorization.empty())
	{
		SendDetail(Res, 401, "Missing API key: send the header Authorization: Bearer tv_...");
		return;
	}
	const auto Space = Authorization.find(' ');
	const std::string Scheme = Lower(Authorization.substr(0, Space));
	std::string Key = Space == std::string::npos ? "" : Authorization.substr(Space + 1);
	Key.erase(0, Key.find_first_not_of(' '));
	if (Scheme != "bearer" || Key.empty())
	{
		SendDetail(Res, 401, "The Authorization header must be \"Bearer\" followed by your API key.");
		return;
	}
	if (Key.rfind("tv_", 0) != 0)
	{
		SendDetail(Res, 401, "That is not a Tarvoline API key: keys start with tv_.");
		return;
	}
	if (!State().HasAccount(Key))
	{
		SendDetail(Res, 401, "Invalid API key.");
		return;
	}

	switch (Which)
	{
		case Endpoint::Me:
			SendAnswer(Res, State().Me(Key));
			return;
		case Endpoint::Assets:
			if (Method == "POST")
			{
				Upload(Key, Req, Res);
			}
			else
			{
				SendAnswer(Res, State().ListCharacters(Key));
			}
			return;
		case Endpoint::Asset:
			SendAnswer(Res, State().GetCharacter(Key, Id));
			return;
		case Endpoint::Job:
			SendAnswer(Res, State().GetJob(Key, Id, BaseUrl(Req)));
			return;
		case Endpoint::Plan:
		case Endpoint::Generate:
		{
			const auto Body = nlohmann::json::parse(Req.body, nullptr, false);
			if (Body.is_discarded() || !Body.is_object())
			{
				SendAnswer(Res, Invalid("", "The body must be a JSON object.", "value_error.jsondecode"));
				return;
			}
			std::string Prompt;
			std::string AssetId;
			if (auto Refused = TextField(Body, "prompt", Prompt))
			{
				SendAnswer(Res, *Refused);
				return;
			}
			if (auto Refused = TextField(Body, "assetId", AssetId))
			{
				SendAnswer(Res, *Refused);
				return;
			}
			if (Which == Endpoint::Plan)
			{
				SendAnswer(Res, State().Plan(Key, Prompt, AssetId));
				return;
			}
			std::vector<std::string> Formats;
			if (Body.contains("formats"))
			{
				const auto& List = Body["formats"];
				if (!List.is_array() || !std::all_of(List.begin(), List.end(), [](const auto& V) { return V.is_string(); }))
				{
					SendAnswer(Res, Invalid("formats", "value is not a list of texts", "type_error.list"));
					return;
				}
				for (const auto& V : List)
				{
					Formats.push_back(V.template get<std::string>());
				}
			}
			SendAnswer(Res, State().Generate(Key, Prompt, AssetId, Formats, BaseUrl(Req)));
			return;
		}
		default:
			return;
	}
}

void SimServer::Upload(const std::string& Key, const httplib::Request& Req, httplib::Response& Res)
{
	const auto Boundary = BoundaryFromContentType(ContentTypeOf(Req));
	if (!Boundary)
	{
		SendDetail(Res, 400, "Send the model as multipart/form-data with a boundary and one \"file\" part.");
		return;
	}
	const MultipartBody Body = ParseMultipart(Req.body, *Boundary);
	if (!Body.Ok())
	{
		SendDetail(Res, 400, Body.Error);
		return;
	}
	const MultipartPart* File = Body.Find("file");
	if (!File)
	{
		SendAnswer(Res, Invalid("file", "field required", "value_error.missing"));
		return;
	}
	if (!File->Filename)
	{
		SendAnswer(Res, Invalid("file", "The \"file\" part has no file name.", "value_error.filename"));
		return;
	}
	if (File->Data.size() > Options.MaxUploadBytes)
	{
		SendDetail(Res, 413, "That file is too large to upload: the limit is " + std::to_string(Options.MaxUploadBytes) + " bytes.");
		return;
	}
	const ModelVerdict Verdict = InspectModel(File->Data, *File->Filename);
	if (!Options.Quiet)
	{
		LogLine("inspected " + *File->Filename + ": " +
				(Verdict.Readable ? Verdict.Family + " by " + Verdict.Reason : "unreadable: " + Verdict.Error));
	}
	SendAnswer(Res, State().CreateCharacter(Key, *File->Filename, static_cast<long long>(File->Data.size()), Verdict));
}

void SimServer::Download(const httplib::Request& Req, httplib::Response& Res, const std::string& JobId, const std::string& File)
{
	const std::string Token = Req.get_param_value("token");
	const std::string ExpiresText = Req.get_param_value("expires");
	std::int64_t Expires = 0;
	try
	{
		std::size_t Used = 0;
		Expires = std::stoll(ExpiresText, &Used);
		if (Used != ExpiresText.size())
		{
			Expires = 0;
		}
	}
	catch (const std::exception&)
	{
		Expires = 0;
	}
	const std::string Path = "/downloads/" + JobId + "/" + File;
	if (Token.empty() || Expires == 0 || !CheckDownloadToken(State().Secret(), Path, Expires, Token))
	{
		SendDetail(Res, 403, "This download link is not valid.");
		return;
	}
	if (static_cast<double>(Expires) < State().Clock().Now())
	{
		SendDetail(Res, 403, "This download link has expired. Read the job again for a fresh one.");
		return;
	}
	const auto Target = State().FindDownload(JobId, File);
	if (!Target)
	{
		SendDetail(Res, 404, "There is nothing to download at this link.");
		return;
	}
	const fs::path Source = fs::path(Options.ModelsDir) / (Target->Family + "_anim." + Target->Kind);
	auto Bytes = ReadWholeFile(Source.string());
	if (!Bytes)
	{
		SendDetail(Res, 404, "This simulator has no " + Target->Kind + " animation for the family " + Target->Family +
								 " (looked for " + Source.string() + ").");
		return;
	}
	Res.status = 200;
	Res.set_header("Content-Disposition",
		"attachment; filename=\"" + Target->Family + "_" + JobId.substr(0, 8) + "." + Target->Kind + "\"");
	Res.set_content(std::move(*Bytes), "application/octet-stream");
}

void SimServer::HandleControl(const httplib::Request& Req, httplib::Response& Res)
{
	const std::string& Path = Req.path;
	const std::string& Method = Req.method;
	nlohmann::json Body = nlohmann::json::object();
	if (!Req.body.empty())
	{
		Body = nlohmann::json::parse(Req.body, nullptr, false);
		if (Body.is_discarded())
		{
			SendDetail(Res, 400, "The control body is not JSON.");
			return;
		}
	}
	try
	{
		if (Path == "/_sim/reset" && Method == "POST")
		{
			State().Reset();
			FaultList.Clear();
			Recorder.Clear();
			SendJson(Res, 200, {{"ok", true}});
		}
		else if (Path == "/_sim/faults" && Method == "POST")
		{
			nlohmann::json Added = nlohmann::json::array();
			for (const auto& F : FaultList.Add(Body))
			{
				Added.push_back(F.ToJson());
			}
			SendJson(Res, 200, {{"faults", Added}});
		}
		else if (Path == "/_sim/faults" && Method == "GET")
		{
			nlohmann::json List = nlohmann::json::array();
			for (const auto& F : FaultList.List())
			{
				List.push_back(F.ToJson());
			}
			SendJson(Res, 200, {{"faults", List}});
		}
		else if (Path == "/_sim/faults" && Method == "DELETE")
		{
			FaultList.Clear();
			SendJson(Res, 200, {{"ok", true}});
		}
		else if (Path == "/_sim/requests" && Method == "GET")
		{
			long long Since = 0;
			if (Req.has_param("since"))
			{
				Since = std::stoll(Req.get_param_value("since"));
			}
			std::string Filter = Req.get_param_value("method");
			std::transform(Filter.begin(), Filter.end(), Filter.begin(), [](unsigned char C) { return static_cast<char>(std::toupper(C)); });
			SendJson(Res, 200, {{"requests", Recorder.ToJson(Since, Filter, Req.get_param_value("path"))}});
		}
		else if (Path == "/_sim/requests" && Method == "DELETE")
		{
			Recorder.Clear();
			SendJson(Res, 200, {{"ok", true}});
		}
		else if (Path == "/_sim/time" && (Method == "POST" || Method == "GET"))
		{
			if (Body.contains("timeScale"))
			{
				if (!Body["timeScale"].is_number() || Body["timeScale"].get<double>() < 0.0)
				{
					throw std::invalid_argument("\"timeScale\" must be a number of at least 0.");
				}
				State().SetTimeScale(Body["timeScale"].get<double>());
			}
			if (Body.contains("advanceSeconds"))
			{
				if (!Body["advanceSeconds"].is_number() || Body["advanceSeconds"].get<double>() < 0.0)
				{
					throw std::invalid_argument("\"advanceSeconds\" must be a number of at least 0.");
				}
				State().AdvanceTime(Body["advanceSeconds"].get<double>());
			}
			SendJson(Res, 200, {{"now", State().Clock().Now()}, {"offsetSeconds", State().Clock().Offset()},
								   {"timeScale", State().TimeScale()}});
		}
		else if (Path == "/_sim/next" && Method == "POST")
		{
			const int Count = Body.value("count", 1);
			if (Count < 1 || Count > 1000)
			{
				throw std::invalid_argument("\"count\" must be between 1 and 1000.");
			}
			auto Failure = [](const nlohmann::json& Value) -> std::optional<std::string> {
				if (Value.is_boolean())
				{
					return Value.get<bool>() ? std::optional<std::string>("") : std::nullopt;
				}
				if (Value.is_string())
				{
					return Value.get<std::string>();
				}
				throw std::invalid_argument("\"fail\" must be true, false or a sentence.");
			};
			if (Body.contains("rig"))
			{
				const auto& Rig = Body["rig"];
				RigOverride Override;
				if (Rig.contains("fail"))
				{
					Override.Fail = Failure(Rig["fail"]);
				}
				if (Rig.contains("family"))
				{
					Override.Family = Rig["family"].get<std::string>();
					if (!IsKnownFamily(*Override.Family))
					{
						throw std::invalid_argument("\"family\" must be humanoid, quadruped, bird or frog.");
					}
				}
				for (int I = 0; I < Count; ++I)
				{
					State().QueueRigOverride(Override);
				}
			}
			if (Body.contains("job"))
			{
				const auto& JobChange = Body["job"];
				JobOverride Override;
				if (JobChange.contains("fail"))
				{
					Override.Fail = Failure(JobChange["fail"]);
				}
				Override.FailStage = JobChange.value("failStage", std::string("generating"));
				Override.NoFbx = JobChange.value("noFbx", false);
				Override.Fallback = JobChange.value("fallback", false);
				for (int I = 0; I < Count; ++I)
				{
					State().QueueJobOverride(Override);
				}
			}
			SendJson(Res, 200, {{"ok", true}});
		}
		else if (Path == "/_sim/accounts" && Method == "POST")
		{
			Account Value;
			Value.Key = Body.at("key").get<std::string>();
			if (Value.Key.rfind("tv_", 0) != 0)
			{
				throw std::invalid_argument("\"key\" must start with tv_.");
			}
			Value.Email = Body.value("email", Value.Key.substr(3) + "@tarvoline.test");
			Value.Credits = Body.value("credits", 0LL);
			if (Value.Credits < 0)
			{
				throw std::invalid_argument("\"credits\" must be at least 0.");
			}
			State().SetAccount(Value);
			SendJson(Res, 200, {{"key", Value.Key}, {"email", Value.Email}, {"credits", Value.Credits}});
		}
		else if (Path == "/_sim/state" && Method == "GET")
		{
			SendJson(Res, 200, State().Snapshot());
		}
		else
		{
			SendDetail(Res, 404, "No such control.");
		}
	}
	catch (const std::invalid_argument& Error)
	{
		SendDetail(Res, 400, Error.what());
	}
	catch (const std::exception& Error)
	{
		SendDetail(Res, 400, std::string("The control body is not understood: ") + Error.what());
	}
}
} // namespace tvsim
