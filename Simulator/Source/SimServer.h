#pragma once

#include "Faults.h"
#include "Options.h"
#include "Recorder.h"
#include "Store.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib
{
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace tvsim
{
// The HTTP face of the simulator: the service's API under /v1, output downloads under
// /downloads, and (with --allow-control) the test controls under /_sim. Binds 127.0.0.1 only.
class SimServer
{
public:
	explicit SimServer(ServerOptions Options);
	~SimServer();
	SimServer(const SimServer&) = delete;
	SimServer& operator=(const SimServer&) = delete;

	// Binds and starts serving on a thread of its own. Returns the port, or -1 when it cannot bind.
	int Start();
	// Stops accepting, ends slow answers and delays early, and waits for the serving thread.
	void Stop();
	int Port() const { return BoundPort; }

	Store& State() { return *StatePtr; }
	FaultBook& Faults() { return FaultList; }
	RequestRecorder& Requests() { return Recorder; }

private:
	void Handle(const httplib::Request& Req, httplib::Response& Res);
	void HandleControl(const httplib::Request& Req, httplib::Response& Res);
	void Route(const httplib::Request& Req, httplib::Response& Res);
	void Upload(const std::string& Key, const httplib::Request& Req, httplib::Response& Res);
	void Download(const httplib::Request& Req, httplib::Response& Res, const std::string& JobId, const std::string& File);
	std::string BaseUrl(const httplib::Request& Req) const;
	// Sleeps, but wakes at once when the server stops. False when stopping.
	bool Pause(int Milliseconds);

	ServerOptions Options;
	std::unique_ptr<Store> StatePtr;
	FaultBook FaultList;
	RequestRecorder Recorder;
	std::unique_ptr<httplib::Server> Http;
	std::thread ServeThread;
	int BoundPort = -1;
	std::atomic<bool> Stopping{false};
	// True once the serving loop has returned (or never got going), so Stop knows not to wait for it to run.
	std::atomic<bool> ServeDone{false};
	std::mutex PauseMutex;
	std::condition_variable PauseWake;
};
} // namespace tvsim
