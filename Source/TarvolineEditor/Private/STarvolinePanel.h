// The Tarvoline panel: the whole editor workflow (sign-in, characters, upload and rig, price and generate, result)
// and the widgets that show it.
//
// Everything here runs on the game thread. The widgets pull the panel's fields through getters on every paint; the
// workflow only changes fields (and refreshes the picker and the example buttons). Requests are never cancelled:
// every callback handed to the client or the ticker holds a weak pointer to AliveToken and does nothing once the
// panel (and with it its tab) is gone.

#pragma once

#include "CoreMinimal.h"
#include "Input/Reply.h"
#include "Layout/Visibility.h"
#include "TarvolineImport.h"
#include "TarvolineRecords.h"
#include "Types/SlateEnums.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Input/SComboBox.h"
#include "Widgets/SCompoundWidget.h"

class SButton;
class SVerticalBox;
class SWidget;

/** The dockable panel that connects the project to the Tarvoline service. */
class STarvolinePanel : public SCompoundWidget
{
public:
	// clang-format off
	SLATE_BEGIN_ARGS(STarvolinePanel)
	{
	}
	SLATE_END_ARGS()
	// clang-format on

	using FCharacterCombo = SComboBox<TSharedPtr<FTarvolineCharacter>>;

	/** Reads the stored key, builds the widgets and, with a stored key, signs in at once. */
	void Construct(const FArguments& InArgs);

	// Account connection and character list.

	/** Key box: keeps the typed key, trimmed; nothing is saved until the service accepts it. */
	void OnKeyChanged(const FText& NewText);
	/** Signs in with the key in the box. */
	void Connect();
	/** Forgets the key (also in the settings file) and everything that belongs to the account. */
	void SignOut();
	/** Reloads the account's rigged characters, keeping the selection, then re-reads the account and runs Then. */
	void RefreshCharacters(TFunction<void()> Then);
	/** "Refresh": reloads the character list. */
	void OnRefreshClicked();
	/** Picker: another character was chosen (a price belongs to one character, so it is dropped). */
	void OnCharacterSelected(TSharedPtr<FTarvolineCharacter> Item, ESelectInfo::Type SelectInfo);
	/** Re-reads the account for its credit balance, then runs Then when given. */
	void RefreshAccount(TFunction<void()> Then = nullptr);
	/** Opens the site's account page, where keys are made. */
	void OpenAccountPage();
	/** Opens the site's page for buying credits. */
	void OpenCreditsPage();
	/** The account line: e-mail and credit balance; empty while signed out. */
	FText GetAccountText() const;

	// Character upload and rig tracking.

	/** "Upload a model file...": asks for a file, then uploads it. */
	void UploadModelFile();
	/** Uploads the source file of the mesh selected in the Content Browser. */
	void UploadSelectedAsset();
	/** The open-file dialog for a model; empty when cancelled. */
	FString PickModelFile() const;
	/** The source file of the first selected mesh whose model file still exists; empty when none. Called on every
	 *  paint, so it loads only meshes and nothing for a selection without them. */
	FString FindSelectedAssetSourceFile() const;
	/** Uploads a model file and follows its rig until the character is ready or has failed. */
	void UploadFile(const FString& Path);
	/** One read of a character that is being rigged. */
	void PollRig(const FString& CharacterId);
	/** Runs Step once on the core ticker, Seconds from now, unless the panel is gone by then. */
	void RunAfter(float Seconds, TFunction<void()> Step);

	// Motion pricing and generation.

	/** Motion box: keeps the sentence as typed; a shown price no longer applies. */
	void OnPromptChanged(const FText& NewText);
	/** An example button: its sentence becomes the prompt. */
	void UseExample(const FString& Text);
	/** "Check the price": asks what the motion would cost. */
	void CheckPrice();
	/** "Make the animation": orders the motion and follows the job. */
	void MakeAnimation();
	/** One read of the current job. */
	void PollJob();
	/** The price area: segments, cost and balance, notes. */
	FText GetPriceText() const;
	/** The job's stage as a sentence. */
	FText GetStageText() const;
	/** The job's progress from 0 to 1; unset (an indeterminate bar) without a job. */
	TOptional<float> GetProgress() const;

	// Result handling.

	/** Reads the job once more (for fresh output links) and downloads its file. */
	void FetchResult();
	/** "Check again": the whole result road once more. */
	void CheckAgain();
	/** Selects the imported clip in the Content Browser. */
	void ShowInContentBrowser();
	/** Places the imported clip in the open level. */
	void AddResultToLevel();
	/** Opens the job's page on the service's web site. */
	void WatchOnline();

	// Character picker and motion examples.

	/** A row of the character picker. */
	TSharedRef<SWidget> MakeCharacterRow(TSharedPtr<FTarvolineCharacter> Item);
	/** The picker's face: the selected character, or a hint when there is none. */
	FText GetSelectedCharacterText() const;
	/** The upload-selection button's label, naming the selection's source file when there is one. */
	FText GetUploadSelectedText() const;
	/** The example sentences offered for a creature family, in the order the buttons show them. */
	static TArray<FString> ExamplesForFamily(const FString& Family);
	/** Refills the example buttons for the selected character's family. */
	void RebuildExamples();

	// Read-only access for tests and tools.

	const FString& GetApiKey() const { return ApiKey; }
	const TOptional<FTarvolineAccount>& GetAccount() const { return Account; }
	const TArray<TSharedPtr<FTarvolineCharacter>>& GetCharacters() const { return Characters; }
	const TSharedPtr<FTarvolineCharacter>& GetSelectedCharacter() const { return SelectedCharacter; }
	const FString& GetPrompt() const { return Prompt; }
	const TOptional<FTarvolinePlan>& GetPlan() const { return Plan; }
	const TOptional<FTarvolineJob>& GetJob() const { return Job; }
	const FTarvolineImportResult& GetLastImport() const { return LastImport; }
	const FString& GetStatus() const { return Status; }
	const FString& GetError() const { return Error; }
	bool IsBusy() const { return bBusy; }

	// Visibility and enabled rules, evaluated on every paint.

	EVisibility GetSignedInVisibility() const;
	EVisibility GetSignedOutVisibility() const;
	bool CanConnect() const;
	bool IsNotBusy() const;
	bool CanUploadSelection() const;
	bool CanSendPrompt() const;
	EVisibility GetPriceVisibility() const;
	EVisibility GetProgressVisibility() const;
	EVisibility GetResultVisibility() const;
	EVisibility GetCheckAgainVisibility() const;
	EVisibility GetErrorVisibility() const;
	EVisibility GetStatusVisibility() const;

private:
	/** Work that sends a request starts here: status line set, busy, error line cleared. */
	void BeginWork(const FString& StatusText);
	/** Every failed request ends here; a refused key (401) signs the panel out but keeps the stored key. */
	void OnServiceError(const FString& Message, int32 StatusCode);
	/** Ends the current work without a message (a step that found its job or account gone). */
	void EndWorkQuietly();
	/** An answer that arrives after Sign out belongs to an account the panel no longer shows: it only ends the work.
	 *  True when the panel is signed out and the answer must be dropped. */
	bool EndWorkIfSignedOut();
	/** Every change of the selected character goes through here, whatever causes it: a shown price belongs to the
	 *  character it was asked for. The picker's callback cannot see a change made by a refresh or a rig, since it
	 *  finds the new item already selected. */
	void SelectCharacter(const TSharedPtr<FTarvolineCharacter>& Item);

	void OnSignedIn(const FTarvolineAccount& NewAccount, const FString& SentKey, int32 SentSignOutCount);
	void OnRigPolled(const FTarvolineCharacter& Character, const FString& CharacterId);
	void OnCharacterRigged(const FString& CharacterId, const FString& Filename, const FString& Family);
	void OnPlanReceived(const FTarvolinePlan& NewPlan);
	void OnJobUpdated(const FTarvolineJob& NewJob);
	void AdvanceJob();
	void DownloadResult(const FTarvolineJob& NewJob);
	void ImportDownloadedFile(const FString& Path, const FString& CharacterName);

	/** Wraps a callback so that it runs only while the panel lives. */
	template <typename FunctorType>
	auto Guarded(FunctorType&& Functor) const
	{
		TWeakPtr<bool> WeakAlive = AliveToken;
		return [WeakAlive, Functor = Forward<FunctorType>(Functor)](auto&&... Args) mutable
		{
			const TSharedPtr<bool> Alive = WeakAlive.Pin();
			if (Alive.IsValid())
			{
				Functor(Forward<decltype(Args)>(Args)...);
			}
		};
	}
	/** The guarded error callback handed to every client operation. */
	TFunction<void(const FString&, int32)> ErrorHandler();
	/** A button's click handler: runs one operation and answers handled. */
	FReply RunFromButton(void (STarvolinePanel::*Operation)());
	/** A button that runs one operation; usable while Rule allows, always when no rule is given. */
	TSharedRef<SButton> MakeButton(
		const FText& Label, void (STarvolinePanel::*Operation)(), bool (STarvolinePanel::*Rule)() const = nullptr);

	FText GetApiKeyText() const;
	FText GetPromptText() const;
	FText GetResultFolderText() const;
	FText GetErrorText() const;
	FText GetStatusText() const;

	FString ApiKey;
	TOptional<FTarvolineAccount> Account;
	TArray<TSharedPtr<FTarvolineCharacter>> Characters;
	TSharedPtr<FTarvolineCharacter> SelectedCharacter;
	FString Prompt;
	TOptional<FTarvolinePlan> Plan;
	TOptional<FTarvolineJob> Job;
	FTarvolineImportResult LastImport;
	FString Status;
	FString Error;
	bool bBusy = false;
	/** Set from Make until the new job's first answer: Job still holds the previous job, whose result is no longer
	 *  offered (Check again), even when the new job is refused. */
	bool bJobSuperseded = false;
	/** Lives exactly as long as the panel; callbacks test their weak pointer to it before touching the panel. */
	TSharedPtr<bool> AliveToken = MakeShared<bool>(true);
	/** Counts Sign outs, so a sign-in answer can tell it was asked for before one (even for the same key). */
	int32 SignOutCount = 0;
	TSharedPtr<FCharacterCombo> CharacterCombo;
	TSharedPtr<SVerticalBox> ExamplesBox;
};
