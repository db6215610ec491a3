#include "Store.h"

#include "Ids.h"
#include "Log.h"
#include "Persistence.h"
#include "Tokens.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace tvsim
{
namespace
{
// Lengths of the service's work at time scale 1, in seconds.
constexpr double RigPendingSeconds = 1.0;
constexpr double RigProcessingSeconds = 3.0;
constexpr double JobQueuedSeconds = 1.0;
constexpr double JobStartingSeconds = 0.5;
constexpr double JobPreparingSeconds = 0.5;
constexpr double JobWarmingSeconds = 3.0;
constexpr double JobRetargetingSeconds = 1.0;
constexpr double JobExportingSeconds = 0.8;
// The motion model goes cold when no job has run for this long.
constexpr double WarmForSeconds = 600.0;
// How long a download link stays good.
constexpr double LinkLifetimeSeconds = 3600.0;
constexpr std::size_t MaxPromptLength = 1000;

std::string IsoTime(double Seconds)
{
	const auto Whole = static_cast<std::time_t>(std::floor(Seconds));
	std::tm Utc{};
	gmtime_r(&Whole, &Utc);
	char Buffer[40];
	std::strftime(Buffer, sizeof Buffer, "%Y-%m-%dT%H:%M:%SZ", &Utc);
	return Buffer;
}

double Round3(double Value)
{
	return std::round(Value * 1000.0) / 1000.0;
}

bool Blank(const std::string& Text)
{
	return std::all_of(Text.begin(), Text.end(), [](unsigned char C) { return std::isspace(C); });
}
} // namespace

Answer Detail(int Status, const std::string& Text)
{
	return {Status, {{"detail", Text}}};
}

Answer Invalid(const std::string& Field, const std::string& Message, const std::string& Type)
{
	nlohmann::json Loc = nlohmann::json::array({"body"});
	if (!Field.empty())
	{
		Loc.push_back(Field);
	}
	return {422, {{"detail", nlohmann::json::array({{{"loc", Loc}, {"msg", Message}, {"type", Type}}})}}};
}

const std::vector<Account>& Store::SeedAccounts()
{
	static const std::vector<Account> Seeds = {
		{"tv_demo_key", "demo@tarvoline.test", 1000},
		{"tv_poor_key", "poor@tarvoline.test", 1},
	};
	return Seeds;
}

Store::Store(StoreOptions InOptions) : Options(std::move(InOptions)), StartTimeScale(Options.TimeScale)
{
	std::lock_guard Lock(Mutex);
	SecretKey = RandomHex(32);
	SeedLocked();
	if (!Options.StateFile.empty())
	{
		LoadLocked();
		SaveLocked();
	}
}

void Store::SeedLocked()
{
	Accounts.clear();
	for (const auto& Seed : SeedAccounts())
	{
		Accounts[Seed.Key] = Seed;
	}
}

std::string Store::Secret() const
{
	std::lock_guard Lock(Mutex);
	return SecretKey;
}

std::string Store::LastPersistenceError() const
{
	std::lock_guard Lock(Mutex);
	return PersistenceError;
}

// ---- persistence -----------------------------------------------------------------------------

nlohmann::json Store::ToJsonLocked() const
{
	nlohmann::json Out;
	Out["version"] = 1;
	Out["secret"] = SecretKey;
	Out["clockOffset"] = SimTime.Offset();
	Out["warmUntil"] = WarmUntil;
	Out["accounts"] = nlohmann::json::array();
	for (const auto& [Key, A] : Accounts)
	{
		Out["accounts"].push_back({{"key", A.Key}, {"email", A.Email}, {"credits", A.Credits}});
	}
	Out["characters"] = nlohmann::json::array();
	for (const auto& C : Characters)
	{
		Out["characters"].push_back({{"id", C.Id}, {"owner", C.Owner}, {"filename", C.Filename},
			{"sizeBytes", C.SizeBytes}, {"createdAt", C.CreatedAt}, {"processingAt", C.ProcessingAt},
			{"doneAt", C.DoneAt}, {"willFail", C.WillFail}, {"failError", C.FailError}, {"family", C.Family},
			{"reason", C.Reason}, {"settled", C.Settled}});
	}
	Out["jobs"] = nlohmann::json::array();
	for (const auto& J : Jobs)
	{
		nlohmann::json Segments = nlohmann::json::array();
		for (const auto& S : J.Segments)
		{
			Segments.push_back({{"primitive", S.Primitive}, {"seconds", S.Seconds}});
		}
		nlohmann::json Stages = nlohmann::json::array();
		for (const auto& S : J.Stages)
		{
			Stages.push_back({{"name", S.Name}, {"startsAt", S.StartsAt}});
		}
		Out["jobs"].push_back({{"id", J.Id}, {"owner", J.Owner}, {"assetId", J.AssetId}, {"prompt", J.Prompt},
			{"family", J.Family}, {"segments", Segments}, {"formats", J.Formats},
			{"durationSeconds", J.DurationSeconds}, {"cost", J.Cost}, {"fallbackFrom", J.FallbackFrom},
			{"createdAt", J.CreatedAt}, {"stages", Stages}, {"endsAt", J.EndsAt}, {"willFail", J.WillFail},
			{"failError", J.FailError}, {"failStage", J.FailStage}, {"failAt", J.FailAt}, {"noFbx", J.NoFbx}, {"outcome", J.Outcome},
			{"refunded", J.Refunded}});
	}
	return Out;
}

void Store::SaveLocked()
{
	if (Options.StateFile.empty())
	{
		return;
	}
	std::string Error;
	if (!WriteFileAtomically(Options.StateFile, ToJsonLocked().dump(1, '\t', false, nlohmann::json::error_handler_t::replace), &Error))
	{
		if (PersistenceError != Error)
		{
			LogLine("cannot save state: " + Error);
		}
		PersistenceError = Error;
	}
}

void Store::LoadLocked()
{
	const auto Text = ReadWholeFile(Options.StateFile);
	if (!Text)
	{
		return; // a first start: nothing kept yet
	}
	const auto Data = nlohmann::json::parse(*Text, nullptr, false);
	if (Data.is_discarded() || !Data.is_object())
	{
		PersistenceError = "the state file " + Options.StateFile + " is not JSON; starting afresh";
		LogLine(PersistenceError);
		return;
	}
	try
	{
		SecretKey = Data.value("secret", SecretKey);
		SimTime.SetOffset(Data.value("clockOffset", 0.0));
		WarmUntil = Data.value("warmUntil", 0.0);
		Accounts.clear();
		for (const auto& A : Data.at("accounts"))
		{
			Account Value{A.at("key").get<std::string>(), A.value("email", ""), A.value("credits", 0LL)};
			Accounts[Value.Key] = Value;
		}
		Characters.clear();
		for (const auto& C : Data.at("characters"))
		{
			Character Value;
			Value.Id = C.at("id").get<std::string>();
			Value.Owner = C.at("owner").get<std::string>();
			Value.Filename = C.value("filename", "");
			Value.SizeBytes = C.value("sizeBytes", 0LL);
			Value.CreatedAt = C.value("createdAt", 0.0);
			Value.ProcessingAt = C.value("processingAt", 0.0);
			Value.DoneAt = C.value("doneAt", 0.0);
			Value.WillFail = C.value("willFail", false);
			Value.FailError = C.value("failError", "");
			Value.Family = C.value("family", "humanoid");
			Value.Reason = C.value("reason", "");
			Value.Settled = C.value("settled", false);
			Characters.push_back(std::move(Value));
		}
		Jobs.clear();
		for (const auto& J : Data.at("jobs"))
		{
			Job Value;
			Value.Id = J.at("id").get<std::string>();
			Value.Owner = J.at("owner").get<std::string>();
			Value.AssetId = J.value("assetId", "");
			Value.Prompt = J.value("prompt", "");
			Value.Family = J.value("family", "humanoid");
			for (const auto& S : J.value("segments", nlohmann::json::array()))
			{
				Value.Segments.push_back({S.value("primitive", ""), S.value("seconds", 0.0)});
			}
			Value.Formats = J.value("formats", std::vector<std::string>{"fbx"});
			Value.DurationSeconds = J.value("durationSeconds", 0.0);
			Value.Cost = J.value("cost", 0);
			Value.FallbackFrom = J.value("fallbackFrom", "");
			Value.CreatedAt = J.value("createdAt", 0.0);
			for (const auto& S : J.value("stages", nlohmann::json::array()))
			{
				Value.Stages.push_back({S.value("name", ""), S.value("startsAt", 0.0)});
			}
			if (Value.Stages.size() < 2)
			{
				Value.Stages = {{"queued", Value.CreatedAt}, {"starting", Value.CreatedAt}};
			}
			Value.EndsAt = J.value("endsAt", 0.0);
			Value.WillFail = J.value("willFail", false);
			Value.FailError = J.value("failError", "");
			Value.FailStage = J.value("failStage", "");
			Value.FailAt = J.value("failAt", 0.0);
			Value.NoFbx = J.value("noFbx", false);
			Value.Outcome = J.value("outcome", "");
			Value.Refunded = J.value("refunded", false);
			Jobs.push_back(std::move(Value));
		}
	}
	catch (const nlohmann::json::exception& Error)
	{
		PersistenceError = "the state file " + Options.StateFile + " could not be read (" + Error.what() + "); starting afresh";
		LogLine(PersistenceError);
		SeedLocked();
		Characters.clear();
		Jobs.clear();
	}
}

// ---- the passing of time ---------------------------------------------------------------------

void Store::SettleLocked(double Now)
{
	bool Changed = false;
	for (auto& C : Characters)
	{
		if (!C.Settled && Now >= C.DoneAt)
		{
			C.Settled = true;
			Changed = true;
		}
	}
	for (auto& J : Jobs)
	{
		if (!J.Outcome.empty())
		{
			continue;
		}
		if (J.WillFail && Now >= J.FailAt)
		{
			J.Outcome = "failed";
			const auto Owner = Accounts.find(J.Owner);
			if (Owner != Accounts.end())
			{
				Owner->second.Credits += J.Cost;
				J.Refunded = true;
			}
			Changed = true;
		}
		else if (!J.WillFail && Now >= J.EndsAt)
		{
			J.Outcome = "succeeded";
			Changed = true;
		}
	}
	if (Changed)
	{
		SaveLocked();
	}
}

// ---- records ---------------------------------------------------------------------------------

nlohmann::json Store::CharacterJson(const Character& C, double Now, bool Initial) const
{
	nlohmann::json Out = {{"id", C.Id}, {"filename", C.Filename}, {"sizeBytes", C.SizeBytes},
		{"createdAt", IsoTime(C.CreatedAt)}};
	if (Initial || Now < C.ProcessingAt)
	{
		Out["status"] = "pending";
	}
	else if (Now < C.DoneAt && !C.Settled)
	{
		Out["status"] = "processing";
	}
	else if (C.WillFail)
	{
		Out["status"] = "failed";
		Out["error"] = C.FailError;
	}
	else
	{
		Out["status"] = "ready";
		Out["family"] = C.Family;
	}
	return Out;
}

nlohmann::json Store::JobJson(const Job& J, double Now, bool Initial, const std::string& BaseUrl) const
{
	nlohmann::json Segments = nlohmann::json::array();
	for (const auto& S : J.Segments)
	{
		Segments.push_back({{"primitive", S.Primitive}, {"seconds", S.Seconds}});
	}
	nlohmann::json Out = {{"id", J.Id}, {"prompt", J.Prompt}, {"assetId", J.AssetId}, {"family", J.Family},
		{"createdAt", IsoTime(J.CreatedAt)}, {"creditsCost", J.Cost}, {"creditsRefunded", J.Refunded},
		{"durationSeconds", J.DurationSeconds}, {"script", {{"segments", Segments}}},
		{"outputs", nlohmann::json::array()}};
	if (!J.FallbackFrom.empty())
	{
		Out["fallbackFrom"] = J.FallbackFrom;
	}

	const double RunStart = J.Stages[1].StartsAt;
	auto StageAt = [&](double T) {
		std::string Name = J.Stages.front().Name;
		for (const auto& S : J.Stages)
		{
			if (S.StartsAt <= T)
			{
				Name = S.Name;
			}
		}
		return Name;
	};
	auto ProgressAt = [&](double T) {
		if (T < RunStart)
		{
			return 0.0;
		}
		const double Span = J.EndsAt - RunStart;
		return Span <= 0.0 ? 0.99 : Round3(std::clamp((T - RunStart) / Span, 0.0, 0.99));
	};

	const bool Failed = J.Outcome == "failed" || (J.Outcome.empty() && J.WillFail && Now >= J.FailAt);
	const bool Succeeded = J.Outcome == "succeeded" || (J.Outcome.empty() && !J.WillFail && Now >= J.EndsAt);
	if (Initial || (!Failed && !Succeeded && Now < RunStart))
	{
		Out["status"] = "queued";
		Out["stage"] = "queued";
		Out["progress"] = 0.0;
	}
	else if (Failed)
	{
		Out["status"] = "failed";
		Out["stage"] = J.FailStage.empty() ? StageAt(J.FailAt) : J.FailStage;
		Out["progress"] = ProgressAt(J.FailAt);
		Out["error"] = J.FailError;
		Out["creditsRefunded"] = true;
	}
	else if (Succeeded)
	{
		Out["status"] = "succeeded";
		Out["stage"] = "done";
		Out["progress"] = 1.0;
		const auto Expires = static_cast<std::int64_t>(std::floor(Now + LinkLifetimeSeconds));
		auto Link = [&](const std::string& File) {
			const std::string Path = "/downloads/" + J.Id + "/" + File;
			return BaseUrl + Path + "?expires=" + std::to_string(Expires) + "&token=" + SignDownload(SecretKey, Path, Expires);
		};
		if (J.NoFbx)
		{
			Out["outputs"].push_back({{"kind", "glb"}, {"url", Link("motion.glb")}});
		}
		else
		{
			for (const auto& Format : J.Formats)
			{
				Out["outputs"].push_back({{"kind", Format}, {"url", Link("motion." + Format)}});
			}
		}
	}
	else
	{
		Out["status"] = "running";
		Out["stage"] = StageAt(Now);
		Out["progress"] = ProgressAt(Now);
	}
	return Out;
}

// ---- operations ------------------------------------------------------------------------------

bool Store::HasAccount(const std::string& Key)
{
	std::lock_guard Lock(Mutex);
	return Accounts.count(Key) != 0;
}

Answer Store::Me(const std::string& Key)
{
	std::lock_guard Lock(Mutex);
	SettleLocked(SimTime.Now());
	const auto It = Accounts.find(Key);
	if (It == Accounts.end())
	{
		return Detail(401, "Invalid API key.");
	}
	return {200, {{"email", It->second.Email}, {"credits", It->second.Credits}}};
}

Answer Store::ListCharacters(const std::string& Key)
{
	std::lock_guard Lock(Mutex);
	const double Now = SimTime.Now();
	SettleLocked(Now);
	nlohmann::json List = nlohmann::json::array();
	for (const auto& C : Characters)
	{
		if (C.Owner == Key)
		{
			List.push_back(CharacterJson(C, Now, false));
		}
	}
	return {200, List};
}

Character* Store::FindCharacterLocked(const std::string& Key, const std::string& Id)
{
	for (auto& C : Characters)
	{
		if (C.Id == Id && C.Owner == Key)
		{
			return &C;
		}
	}
	return nullptr;
}

Answer Store::GetCharacter(const std::string& Key, const std::string& Id)
{
	std::lock_guard Lock(Mutex);
	const double Now = SimTime.Now();
	SettleLocked(Now);
	const Character* C = FindCharacterLocked(Key, Id);
	if (!C)
	{
		return Detail(404, "No character with that id on this account.");
	}
	return {200, CharacterJson(*C, Now, false)};
}

Answer Store::CreateCharacter(const std::string& Key, const std::string& Filename, long long SizeBytes,
	const ModelVerdict& Verdict)
{
	std::lock_guard Lock(Mutex);
	const double Now = SimTime.Now();
	SettleLocked(Now);
	const double Scale = Options.TimeScale;
	Character C;
	C.Id = NewId();
	C.Owner = Key;
	C.Filename = Filename;
	C.SizeBytes = SizeBytes;
	C.CreatedAt = Now;
	C.ProcessingAt = Now + RigPendingSeconds * Scale;
	C.DoneAt = C.ProcessingAt + RigProcessingSeconds * Scale;
	C.WillFail = !Verdict.Readable;
	C.FailError = Verdict.Error;
	C.Family = Verdict.Family;
	C.Reason = Verdict.Reason;
	if (!RigOverrides.empty())
	{
		const RigOverride Override = RigOverrides.front();
		RigOverrides.pop_front();
		if (Override.Family)
		{
			C.Family = *Override.Family;
			C.Reason = "set by /_sim/next";
		}
		if (Override.Fail)
		{
			C.WillFail = true;
			C.FailError = *Override.Fail;
		}
	}
	if (C.WillFail && C.FailError.empty())
	{
		C.FailError = "We could not rig that model.";
	}
	Characters.push_back(C);
	SaveLocked();
	return {200, CharacterJson(C, Now, true)};
}

Answer Store::CheckCharacterLocked(const std::string& Key, const std::string& AssetId, Character*& Out)
{
	Out = FindCharacterLocked(Key, AssetId);
	if (!Out)
	{
		return Detail(404, "No character with that id on this account.");
	}
	const double Now = SimTime.Now();
	if (!Out->Settled && Now < Out->DoneAt)
	{
		return Detail(409, "That character is still being rigged. Try again when it is ready.");
	}
	if (Out->WillFail)
	{
		return Detail(409, "That character could not be rigged, so it cannot be animated.");
	}
	return {200, nullptr};
}

Answer Store::Plan(const std::string& Key, const std::string& Prompt, const std::string& AssetId)
{
	if (Blank(Prompt))
	{
		return Invalid("prompt", "The prompt is empty.");
	}
	if (Prompt.size() > MaxPromptLength)
	{
		return Invalid("prompt", "The prompt is longer than " + std::to_string(MaxPromptLength) + " characters.");
	}
	std::lock_guard Lock(Mutex);
	SettleLocked(SimTime.Now());
	Character* C = nullptr;
	if (Answer Refused = CheckCharacterLocked(Key, AssetId, C); Refused.Status != 200)
	{
		return Refused;
	}
	const MotionPlan Motion = PlanMotion(Prompt, C->Family);
	const long long Balance = Accounts.at(Key).Credits;
	nlohmann::json Segments = nlohmann::json::array();
	for (const auto& S : Motion.Segments)
	{
		Segments.push_back({{"primitive", S.Primitive}, {"seconds", S.Seconds}});
	}
	return {200, {{"cost", Motion.Cost}, {"balance", Balance}, {"affordable", Balance >= Motion.Cost},
					 {"script", {{"family", C->Family}, {"totalSeconds", Motion.TotalSeconds}, {"segments", Segments}}},
					 {"notes", Motion.Notes}, {"fallback", Motion.Fallback}}};
}

Answer Store::Generate(const std::string& Key, const std::string& Prompt, const std::string& AssetId,
	const std::vector<std::string>& Formats, const std::string& BaseUrl)
{
	if (Blank(Prompt))
	{
		return Invalid("prompt", "The prompt is empty.");
	}
	if (Prompt.size() > MaxPromptLength)
	{
		return Invalid("prompt", "The prompt is longer than " + std::to_string(MaxPromptLength) + " characters.");
	}
	for (const auto& Format : Formats)
	{
		if (Format != "fbx")
		{
			return Invalid("formats", "Only \"fbx\" output is made, not \"" + Format + "\".");
		}
	}
	std::lock_guard Lock(Mutex);
	const double Now = SimTime.Now();
	SettleLocked(Now);
	Character* C = nullptr;
	if (Answer Refused = CheckCharacterLocked(Key, AssetId, C); Refused.Status != 200)
	{
		return Refused;
	}
	const MotionPlan Motion = PlanMotion(Prompt, C->Family);
	Account& Payer = Accounts.at(Key);
	if (Payer.Credits < Motion.Cost)
	{
		return Detail(402, "Not enough credits: this motion costs " + std::to_string(Motion.Cost) +
							   " and the account has " + std::to_string(Payer.Credits) + ".");
	}

	JobOverride Override;
	if (!JobOverrides.empty())
	{
		Override = JobOverrides.front();
		JobOverrides.pop_front();
	}

	Job J;
	J.Id = NewId();
	J.Owner = Key;
	J.AssetId = AssetId;
	J.Prompt = Prompt;
	J.Family = C->Family;
	J.Segments = Motion.Segments;
	J.Formats = Formats.empty() ? std::vector<std::string>{"fbx"} : Formats;
	J.DurationSeconds = Motion.TotalSeconds;
	J.Cost = Motion.Cost;
	if (Motion.Fallback || Override.Fallback)
	{
		J.FallbackFrom = "motion_model";
	}
	J.CreatedAt = Now;
	J.NoFbx = Override.NoFbx;

	const double Scale = Options.TimeScale;
	double T = Now;
	auto AddStage = [&](const char* Name, double Seconds) {
		J.Stages.push_back({Name, T});
		T += Seconds * Scale;
	};
	AddStage("queued", JobQueuedSeconds);
	AddStage("starting", JobStartingSeconds);
	AddStage("preparing", JobPreparingSeconds);
	if (Now >= WarmUntil && J.FallbackFrom.empty())
	{
		AddStage("warming", JobWarmingSeconds);
	}
	AddStage("generating", std::max(1.0, Motion.TotalSeconds * 0.5));
	AddStage("retargeting", JobRetargetingSeconds);
	AddStage("exporting", JobExportingSeconds);
	J.EndsAt = T;
	WarmUntil = std::max(WarmUntil, J.EndsAt + WarmForSeconds);

	if (Override.Fail)
	{
		J.WillFail = true;
		J.FailError = Override.Fail->empty() ? "The motion could not be made." : *Override.Fail;
		J.FailAt = J.EndsAt;
		for (std::size_t I = 0; I < J.Stages.size(); ++I)
		{
			if (J.Stages[I].Name == Override.FailStage)
			{
				J.FailStage = Override.FailStage;
				const double End = I + 1 < J.Stages.size() ? J.Stages[I + 1].StartsAt : J.EndsAt;
				J.FailAt = (J.Stages[I].StartsAt + End) / 2.0;
			}
		}
	}

	Payer.Credits -= Motion.Cost;
	Jobs.push_back(J);
	SaveLocked();
	return {200, JobJson(J, Now, true, BaseUrl)};
}

Answer Store::GetJob(const std::string& Key, const std::string& Id, const std::string& BaseUrl)
{
	std::lock_guard Lock(Mutex);
	const double Now = SimTime.Now();
	SettleLocked(Now);
	for (const auto& J : Jobs)
	{
		if (J.Id == Id && J.Owner == Key)
		{
			return {200, JobJson(J, Now, false, BaseUrl)};
		}
	}
	return Detail(404, "No job with that id on this account.");
}

std::optional<DownloadTarget> Store::FindDownload(const std::string& JobId, const std::string& File)
{
	std::lock_guard Lock(Mutex);
	SettleLocked(SimTime.Now());
	for (const auto& J : Jobs)
	{
		if (J.Id != JobId || J.Outcome != "succeeded" || J.NoFbx)
		{
			continue;
		}
		for (const auto& Format : J.Formats)
		{
			if (File == "motion." + Format)
			{
				return DownloadTarget{J.Family, Format};
			}
		}
	}
	return std::nullopt;
}

// ---- control ---------------------------------------------------------------------------------

void Store::Reset()
{
	std::lock_guard Lock(Mutex);
	SeedLocked();
	Characters.clear();
	Jobs.clear();
	RigOverrides.clear();
	JobOverrides.clear();
	WarmUntil = 0.0;
	Options.TimeScale = StartTimeScale;
	SaveLocked();
}

void Store::SetTimeScale(double Scale)
{
	std::lock_guard Lock(Mutex);
	Options.TimeScale = std::max(0.0, Scale);
}

double Store::TimeScale() const
{
	std::lock_guard Lock(Mutex);
	return Options.TimeScale;
}

void Store::AdvanceTime(double Seconds)
{
	std::lock_guard Lock(Mutex);
	SimTime.Advance(Seconds);
	SettleLocked(SimTime.Now());
	SaveLocked();
}

void Store::QueueRigOverride(RigOverride Override)
{
	std::lock_guard Lock(Mutex);
	RigOverrides.push_back(std::move(Override));
}

void Store::QueueJobOverride(JobOverride Override)
{
	std::lock_guard Lock(Mutex);
	JobOverrides.push_back(std::move(Override));
}

void Store::SetAccount(const Account& Value)
{
	std::lock_guard Lock(Mutex);
	Accounts[Value.Key] = Value;
	SaveLocked();
}

nlohmann::json Store::Snapshot()
{
	std::lock_guard Lock(Mutex);
	SettleLocked(SimTime.Now());
	nlohmann::json Out = ToJsonLocked();
	Out.erase("secret");
	Out["timeScale"] = Options.TimeScale;
	Out["now"] = SimTime.Now();
	Out["pendingRigOverrides"] = RigOverrides.size();
	Out["pendingJobOverrides"] = JobOverrides.size();
	return Out;
}
} // namespace tvsim
