// Automation tests of the check commandlet's run state: answers that arrive after their wait ran out, while the run
// is still going and after it has ended.

#include "CoreMinimal.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "Misc/AutomationTest.h"
#include "TarvolineApi.h"
#include "TarvolineCheckCommandlet.h"
#include "TarvolineTestHelpers.h"

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolineCheckTest
{
using namespace TarvolineCheck;
using namespace TarvolineTest;

/** What a wait of the commandlet waits for on a sign-in: the account or any failure. */
TFunction<bool()> SignInAnswered(const TSharedPtr<FCheckRunState>& Run)
{
	return [Run]()
	{
		return Run->Account.IsSet() || !Run->ErrorText.IsEmpty();
	};
}
} // namespace TarvolineCheckTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineCheckLateAnswersTest, "Tarvoline.Check.LateAnswers",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineCheckLateAnswersTest::RunTest(const FString&)
{
	using namespace TarvolineCheckTest;
	// Every sign-in below is answered 1.5 s late, far beyond the 0.2 s waits.
	SimResetStep(this);
	FaultStep(this, DelayFault(TEXT("GET"), TEXT("^/v1/auth/me$"), 1500, 3));
	Then(
		[this]()
		{
			// While the run goes on, an answer that missed its wait still lands in it, where a later wait finds it.
			const TSharedPtr<FCheckRunState> Going = MakeShared<FCheckRunState>();
			TarvolineApi::FetchAccount(DemoKey, RecordAccount(Going), RecordError(Going));
			TestFalse(TEXT("the wait runs out before the late answer"), PumpUntil(SignInAnswered(Going), 0.2));
			TestTrue(TEXT("the late answer, the account, lands in the run that is still going"),
				PumpUntil(SignInAnswered(Going), 30.0) && Going->Account.IsSet() && Going->Account->Credits == 1000);

			// Once the run has ended, late answers of both kinds land nowhere: the finished run is gone, not kept
			// alive by the callbacks in flight, whose answers then find nothing to write into.
			TSharedPtr<FCheckRunState> Finished = MakeShared<FCheckRunState>();
			TarvolineApi::FetchAccount(DemoKey, RecordAccount(Finished), RecordError(Finished));
			TarvolineApi::FetchAccount(TEXT("tv_revoked_key"), RecordAccount(Finished), RecordError(Finished));
			TestFalse(TEXT("the finished run's waits ran out"), PumpUntil(SignInAnswered(Finished), 0.2));
			const TWeakPtr<FCheckRunState> FinishedWeak = Finished;
			Finished.Reset();
			TestFalse(TEXT("requests in flight do not keep a finished run alive"), FinishedWeak.IsValid());
			FHttpModule::Get().GetHttpManager().Flush(EHttpFlushReason::Default);
		});
	// Both late answers did come back (so both callbacks ran, each into a run that no longer exists).
	const TSharedRef<TArray<FRecordedRequest>> Requests = RecordedStep(this, TEXT("/v1/auth/me"));
	Then(
		[this, Requests]()
		{
			const TArray<FRecordedRequest>& Sent = *Requests;
			TestTrue(TEXT("three sign-ins answered: accepted, accepted, refused"),
				Sent.Num() == 3 && Sent[0].Status == 200 && Sent[1].Status + Sent[2].Status == 200 + 401);
		});
	return true;
}

#endif
