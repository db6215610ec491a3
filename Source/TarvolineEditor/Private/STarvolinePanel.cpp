// The Tarvoline panel: workflow operations first, then the pieces that turn records into words and buttons, then
// the widget tree.

#include "STarvolinePanel.h"

#include "Animation/AnimSequence.h"
#include "AssetRegistry/AssetData.h"
#include "Containers/Ticker.h"
#include "ContentBrowserModule.h"
#include "DesktopPlatformModule.h"
#include "Editor.h"
#include "Editor/EditorEngine.h"
#include "EditorFramework/AssetImportData.h"
#include "Engine/SkeletalMesh.h"
#include "Engine/StaticMesh.h"
#include "Framework/Application/SlateApplication.h"
#include "HAL/PlatformProcess.h"
#include "IContentBrowserSingleton.h"
#include "IDesktopPlatform.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "Styling/AppStyle.h"
#include "Styling/CoreStyle.h"
#include "Styling/SlateColor.h"
#include "Styling/SlateTypes.h"
#include "TarvolineApi.h"
#include "TarvolineLevel.h"
#include "TarvolineService.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Input/SEditableTextBox.h"
#include "Widgets/Input/SMultiLineEditableTextBox.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/Layout/SScrollBox.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/Text/STextBlock.h"

#define LOCTEXT_NAMESPACE "Tarvoline"

namespace
{
const TCHAR* const SettingsSection = TEXT("Tarvoline");
const TCHAR* const SettingsKey = TEXT("ApiKey");

/** The model files the service accepts, lower case, in the order the dialog's filter lists them. */
const TArray<FString> ModelFileExtensions = {TEXT("fbx"), TEXT("glb"), TEXT("gltf"), TEXT("dae"), TEXT("zip")};

/** Seconds between two reads of a character that is being rigged. */
constexpr float RigPollInterval = 3.0f;
/** Seconds between two reads of a running job. */
constexpr float JobPollInterval = 2.5f;

/** A character as the picker writes it: file name, then its family in parentheses. */
FString MakeCharacterLabel(const FTarvolineCharacter& Character)
{
	return FString::Printf(TEXT("%s  (%s)"), *Character.Filename, *Character.Family);
}

/** The job's FBX output, the file the result road downloads; null when the job lists none. */
const FTarvolineJobOutput* FindFbxOutput(const FTarvolineJob& Job)
{
	return Job.Outputs.FindByPredicate(
		[](const FTarvolineJobOutput& Candidate)
		{
			return Candidate.Kind.Equals(TEXT("fbx"), ESearchCase::IgnoreCase);
		});
}

TSharedRef<STextBlock> MakeSectionHeader(const FText& Text)
{
	return SNew(STextBlock).Text(Text).Font(FCoreStyle::GetDefaultFontStyle("Bold", 11));
}

TSharedRef<STextBlock> MakeHintText(const FText& Text)
{
	return SNew(STextBlock).Text(Text).AutoWrapText(true).ColorAndOpacity(FSlateColor::UseSubduedForeground());
}
} // namespace

// --- Shared rules ---

void STarvolinePanel::BeginWork(const FString& StatusText)
{
	Status = StatusText;
	bBusy = true;
	Error.Empty();
}

void STarvolinePanel::OnServiceError(const FString& Message, int32 StatusCode)
{
	bBusy = false;
	Status.Empty();
	Error = Message;
	if (StatusCode == 401 && Account.IsSet())
	{
		// The key stays in the box and in the settings file: the user sees the key box again with the reason.
		Account.Reset();
	}
}

void STarvolinePanel::EndWorkQuietly()
{
	bBusy = false;
	Status.Empty();
}

bool STarvolinePanel::EndWorkIfSignedOut()
{
	// The account, not the key, marks the session: after Sign out the key box is editable again, and a key typed
	// there must not let an answer for the old account through. Connect stays disabled until that answer ends the
	// work, so no new account can be set in between.
	if (Account.IsSet())
	{
		return false;
	}
	EndWorkQuietly();
	return true;
}

TFunction<void(const FString&, int32)> STarvolinePanel::ErrorHandler()
{
	return Guarded(
		[this](const FString& Message, int32 StatusCode)
		{
			OnServiceError(Message, StatusCode);
		});
}

FReply STarvolinePanel::RunFromButton(void (STarvolinePanel::*Operation)())
{
	(this->*Operation)();
	return FReply::Handled();
}

// --- Account connection and character list ---

void STarvolinePanel::OnKeyChanged(const FText& NewText)
{
	ApiKey = NewText.ToString().TrimStartAndEnd();
}

void STarvolinePanel::Connect()
{
	BeginWork(TEXT("Connecting..."));
	TarvolineApi::FetchAccount(ApiKey,
		Guarded(
			[this, SentKey = ApiKey, SentSignOutCount = SignOutCount](const FTarvolineAccount& NewAccount)
			{
				OnSignedIn(NewAccount, SentKey, SentSignOutCount);
			}),
		ErrorHandler());
}

void STarvolinePanel::OnSignedIn(const FTarvolineAccount& NewAccount, const FString& SentKey, int32 SentSignOutCount)
{
	if (SignOutCount != SentSignOutCount)
	{
		// Signed out while the answer was on its way: the user has already left this sign-in behind.
		EndWorkQuietly();
		return;
	}
	if (!ApiKey.Equals(SentKey, ESearchCase::CaseSensitive))
	{
		// Keys are case-sensitive: only the exact key the service saw may be stored. The one in the box now was never
		// checked, so the user is told to send it rather than left looking at a Connect that did nothing.
		bBusy = false;
		Status.Empty();
		Error = LOCTEXT("KeyChanged", "The key changed while connecting. Press Connect again.").ToString();
		return;
	}
	Account = NewAccount;
	// The key is stored only once the service has accepted it, and written at once so a crash cannot lose it.
	GConfig->SetString(SettingsSection, SettingsKey, *ApiKey, GEditorSettingsIni);
	GConfig->Flush(false, GEditorSettingsIni);
	RefreshCharacters(
		[this]()
		{
			Status.Empty();
			bBusy = false;
		});
}

void STarvolinePanel::SignOut()
{
	++SignOutCount;
	ApiKey.Empty();
	GConfig->RemoveKey(SettingsSection, SettingsKey, GEditorSettingsIni);
	GConfig->Flush(false, GEditorSettingsIni);
	Account.Reset();
	Characters.Empty();
	SelectedCharacter.Reset();
	Job.Reset();
	Plan.Reset();
	LastImport = FTarvolineImportResult();
	if (CharacterCombo.IsValid())
	{
		CharacterCombo->RefreshOptions();
	}
}

void STarvolinePanel::RefreshCharacters(TFunction<void()> Then)
{
	const FString RememberedId = SelectedCharacter.IsValid() ? SelectedCharacter->Id : FString();
	TarvolineApi::ListCharacters(ApiKey,
		Guarded(
			[this, RememberedId, Then = MoveTemp(Then)](const TArray<FTarvolineCharacter>& Records) mutable
			{
				if (EndWorkIfSignedOut())
				{
					return;
				}
				Characters.Empty();
				TSharedPtr<FTarvolineCharacter> Selection;
				for (const FTarvolineCharacter& Record : Records)
				{
					if (!Record.Status.Equals(TEXT("ready"), ESearchCase::IgnoreCase))
					{
						continue;
					}
					TSharedPtr<FTarvolineCharacter> Entry = MakeShared<FTarvolineCharacter>(Record);
					Characters.Add(Entry);
					if (!RememberedId.IsEmpty() && Entry->Id.Equals(RememberedId, ESearchCase::IgnoreCase))
					{
						Selection = Entry;
					}
				}
				if (!Selection.IsValid() && Characters.Num() > 0)
				{
					Selection = Characters[0];
				}
				SelectCharacter(Selection);
				if (CharacterCombo.IsValid())
				{
					// SetSelectedItem calls OnCharacterSelected back at once, which finds the item already selected:
					// the price was kept or dropped above.
					CharacterCombo->RefreshOptions();
					CharacterCombo->SetSelectedItem(SelectedCharacter);
				}
				RebuildExamples();
				RefreshAccount(MoveTemp(Then));
			}),
		ErrorHandler());
}

void STarvolinePanel::OnRefreshClicked()
{
	BeginWork(FString());
	RefreshCharacters(
		[this]()
		{
			bBusy = false;
		});
}

void STarvolinePanel::OnCharacterSelected(TSharedPtr<FTarvolineCharacter> Item, ESelectInfo::Type /*SelectInfo*/)
{
	if (!Item.IsValid() || Item == SelectedCharacter)
	{
		return;
	}
	SelectCharacter(Item);
	RebuildExamples();
}

void STarvolinePanel::SelectCharacter(const TSharedPtr<FTarvolineCharacter>& Item)
{
	// Compared by id: a list refresh makes new copies of the same characters, and one that stays keeps its price.
	const bool bSame = SelectedCharacter.IsValid() == Item.IsValid() &&
					   (!Item.IsValid() || SelectedCharacter->Id.Equals(Item->Id, ESearchCase::IgnoreCase));
	if (!bSame)
	{
		Plan.Reset();
	}
	SelectedCharacter = Item;
}

void STarvolinePanel::RefreshAccount(TFunction<void()> Then)
{
	TarvolineApi::FetchAccount(ApiKey,
		Guarded(
			[this, Then = MoveTemp(Then)](const FTarvolineAccount& NewAccount) mutable
			{
				// Signed out meanwhile: an answer for the old key must not sign the panel back in.
				if (EndWorkIfSignedOut())
				{
					return;
				}
				Account = NewAccount;
				if (Then)
				{
					Then();
				}
			}),
		ErrorHandler());
}

void STarvolinePanel::OpenAccountPage()
{
	FPlatformProcess::LaunchURL(*FString::Printf(TEXT("%s/account"), TarvolineSiteUrl), nullptr, nullptr);
}

void STarvolinePanel::OpenCreditsPage()
{
	FPlatformProcess::LaunchURL(*FString::Printf(TEXT("%s/credits"), TarvolineSiteUrl), nullptr, nullptr);
}

FText STarvolinePanel::GetAccountText() const
{
	if (!Account.IsSet())
	{
		return FText::GetEmpty();
	}
	return FText::FromString(FString::Printf(TEXT("%s - %d credits"), *Account->Email, Account->Credits));
}

// --- Character upload and rig tracking ---

void STarvolinePanel::UploadModelFile()
{
	const FString Path = PickModelFile();
	if (!Path.IsEmpty())
	{
		UploadFile(Path);
	}
}

void STarvolinePanel::UploadSelectedAsset()
{
	UploadFile(FindSelectedAssetSourceFile());
}

FString STarvolinePanel::PickModelFile() const
{
	IDesktopPlatform* DesktopPlatform = FDesktopPlatformModule::Get();
	if (!DesktopPlatform)
	{
		return FString();
	}
	const void* ParentWindow = FSlateApplication::IsInitialized()
								   ? FSlateApplication::Get().FindBestParentWindowHandleForDialogs(nullptr)
								   : nullptr;
	TArray<FString> Files;
	const bool bChosen = DesktopPlatform->OpenFileDialog(ParentWindow, TEXT("Choose a 3D model"), FPaths::ProjectDir(),
		FString(), TEXT("3D models (*.fbx;*.glb;*.gltf;*.dae;*.zip)|*.fbx;*.glb;*.gltf;*.dae;*.zip"),
		EFileDialogFlags::None, Files);
	if (!bChosen || Files.Num() == 0)
	{
		return FString();
	}
	return FPaths::ConvertRelativePathToFull(Files[0]);
}

FString STarvolinePanel::FindSelectedAssetSourceFile() const
{
	FContentBrowserModule& ContentBrowser =
		FModuleManager::LoadModuleChecked<FContentBrowserModule>(TEXT("ContentBrowser"));
	TArray<FAssetData> Selection;
	ContentBrowser.Get().GetSelectedAssets(Selection);

	for (const FAssetData& Asset : Selection)
	{
		// This runs on every paint: only meshes are worth loading.
		if (!Asset.IsAssetLoaded() && !Asset.IsInstanceOf(USkeletalMesh::StaticClass()) &&
			!Asset.IsInstanceOf(UStaticMesh::StaticClass()))
		{
			continue;
		}
		UObject* Object = Asset.GetAsset();
		if (!Object)
		{
			continue;
		}
		UAssetImportData* ImportData = nullptr;
		if (const USkeletalMesh* SkeletalMesh = Cast<USkeletalMesh>(Object))
		{
			// The skeletal mesh's accessor waits until its import data may be read.
			ImportData = SkeletalMesh->GetAssetImportData();
		}
		else if (const UStaticMesh* StaticMesh = Cast<UStaticMesh>(Object))
		{
			ImportData = StaticMesh->GetAssetImportData();
		}
		if (!ImportData)
		{
			continue;
		}
		const FString Path = ImportData->GetFirstFilename();
		if (!Path.IsEmpty() && FPaths::FileExists(Path) &&
			ModelFileExtensions.Contains(FPaths::GetExtension(Path).ToLower()))
		{
			return Path;
		}
	}
	return FString();
}

void STarvolinePanel::UploadFile(const FString& Path)
{
	BeginWork(FString::Printf(TEXT("Uploading %s..."), *FPaths::GetCleanFilename(Path)));
	TarvolineApi::UploadModel(ApiKey, Path,
		Guarded(
			[this](const FTarvolineCharacter& Character)
			{
				if (EndWorkIfSignedOut())
				{
					return;
				}
				Status = TEXT("Building its skeleton. About a minute.");
				PollRig(Character.Id);
			}),
		ErrorHandler());
}

void STarvolinePanel::PollRig(const FString& CharacterId)
{
	TarvolineApi::FetchCharacter(ApiKey, CharacterId,
		Guarded(
			[this, CharacterId](const FTarvolineCharacter& Character)
			{
				OnRigPolled(Character, CharacterId);
			}),
		ErrorHandler());
}

void STarvolinePanel::OnRigPolled(const FTarvolineCharacter& Character, const FString& CharacterId)
{
	if (EndWorkIfSignedOut())
	{
		return;
	}
	if (Character.IsRigging())
	{
		RunAfter(RigPollInterval,
			[this, CharacterId]()
			{
				// Signed out while the rig was being followed: the rig goes on, the panel stops asking.
				if (EndWorkIfSignedOut())
				{
					return;
				}
				PollRig(CharacterId);
			});
		return;
	}
	if (!Character.Status.Equals(TEXT("ready"), ESearchCase::IgnoreCase))
	{
		bBusy = false;
		Status.Empty();
		Error = Character.Error.IsEmpty() ? FString(TEXT("We could not rig that model.")) : Character.Error;
		return;
	}
	const FString Filename = Character.Filename;
	const FString Family = Character.Family;
	RefreshCharacters(
		[this, CharacterId, Filename, Family]()
		{
			OnCharacterRigged(CharacterId, Filename, Family);
		});
}

void STarvolinePanel::OnCharacterRigged(const FString& CharacterId, const FString& Filename, const FString& Family)
{
	TSharedPtr<FTarvolineCharacter> Rigged = SelectedCharacter;
	for (const TSharedPtr<FTarvolineCharacter>& Entry : Characters)
	{
		if (Entry->Id.Equals(CharacterId, ESearchCase::IgnoreCase))
		{
			Rigged = Entry;
		}
	}
	SelectCharacter(Rigged);
	if (CharacterCombo.IsValid())
	{
		CharacterCombo->SetSelectedItem(SelectedCharacter);
	}
	RebuildExamples();
	Status = FString::Printf(TEXT("%s is rigged as %s. Now say what it does."), *Filename, *Family);
	bBusy = false;
}

void STarvolinePanel::RunAfter(float Seconds, TFunction<void()> Step)
{
	// The handle is not kept: a step cannot be cancelled, only made harmless by the panel going away.
	FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda(
											 [Step = Guarded(MoveTemp(Step))](float /*DeltaTime*/) mutable
											 {
												 Step();
												 return false;
											 }),
		Seconds);
}

// --- Motion pricing and generation ---

void STarvolinePanel::OnPromptChanged(const FText& NewText)
{
	Prompt = NewText.ToString();
	Plan.Reset();
}

void STarvolinePanel::UseExample(const FString& Text)
{
	Prompt = Text;
	Plan.Reset();
}

void STarvolinePanel::CheckPrice()
{
	BeginWork(FString());
	if (!SelectedCharacter.IsValid())
	{
		EndWorkQuietly();
		return;
	}
	TarvolineApi::PlanMotion(ApiKey, Prompt.TrimStartAndEnd(), SelectedCharacter->Id,
		Guarded(
			[this](const FTarvolinePlan& NewPlan)
			{
				OnPlanReceived(NewPlan);
			}),
		ErrorHandler());
}

void STarvolinePanel::OnPlanReceived(const FTarvolinePlan& NewPlan)
{
	if (EndWorkIfSignedOut())
	{
		return;
	}
	Plan = NewPlan;
	bBusy = false;
}

void STarvolinePanel::MakeAnimation()
{
	BeginWork(FString());
	LastImport = FTarvolineImportResult();
	bJobSuperseded = true;
	if (!SelectedCharacter.IsValid())
	{
		EndWorkQuietly();
		return;
	}
	TarvolineApi::Generate(ApiKey, Prompt.TrimStartAndEnd(), SelectedCharacter->Id,
		Guarded(
			[this](const FTarvolineJob& NewJob)
			{
				OnJobUpdated(NewJob);
			}),
		ErrorHandler());
}

void STarvolinePanel::OnJobUpdated(const FTarvolineJob& NewJob)
{
	if (EndWorkIfSignedOut())
	{
		return;
	}
	Job = NewJob;
	bJobSuperseded = false;
	AdvanceJob();
}

void STarvolinePanel::AdvanceJob()
{
	if (Job->IsActive())
	{
		RunAfter(JobPollInterval,
			[this]()
			{
				PollJob();
			});
		return;
	}
	if (!Job->Status.Equals(TEXT("succeeded"), ESearchCase::IgnoreCase))
	{
		FString Sentence = Job->Error.IsEmpty() ? FString(TEXT("The animation failed.")) : Job->Error;
		if (Job->CreditsRefunded)
		{
			Sentence += TEXT(" Your credits were refunded.");
		}
		bBusy = false;
		Status.Empty();
		Error = Sentence;
		return;
	}
	if (!Job->FallbackFrom.IsEmpty())
	{
		Status = TEXT("Made with presets: the motion model was busy. Nothing extra was charged.");
	}
	FetchResult();
}

void STarvolinePanel::PollJob()
{
	if (!Job.IsSet())
	{
		// Sign out dropped the job while this read was scheduled: stop following it.
		EndWorkQuietly();
		return;
	}
	TarvolineApi::FetchJob(ApiKey, Job->Id,
		Guarded(
			[this](const FTarvolineJob& NewJob)
			{
				OnJobUpdated(NewJob);
			}),
		ErrorHandler());
}

FText STarvolinePanel::GetPriceText() const
{
	if (!Plan.IsSet())
	{
		return FText::GetEmpty();
	}
	FString Text = FString::Join(Plan->Segments, TEXT(" - "));
	Text += FString::Printf(TEXT("\n%d credits (you have %d)"), Plan->Cost, Plan->Balance);
	for (const FString& Note : Plan->Notes)
	{
		Text += TEXT("\n");
		Text += Note;
	}
	return FText::FromString(Text);
}

FText STarvolinePanel::GetStageText() const
{
	if (!Job.IsSet())
	{
		return FText::GetEmpty();
	}
	const FString& Stage = Job->Stage;
	if (Stage.IsEmpty())
	{
		return LOCTEXT("SWk", "Working");
	}
	if (Stage.Equals(TEXT("queued"), ESearchCase::IgnoreCase))
	{
		return LOCTEXT("SQ", "Waiting for a worker");
	}
	if (Stage.Equals(TEXT("starting"), ESearchCase::IgnoreCase) ||
		Stage.Equals(TEXT("preparing"), ESearchCase::IgnoreCase))
	{
		return LOCTEXT("SP", "Reading the sentence");
	}
	if (Stage.Equals(TEXT("warming"), ESearchCase::IgnoreCase))
	{
		return LOCTEXT("SW", "The motion model is waking up (about two minutes, once)");
	}
	if (Stage.Equals(TEXT("generating"), ESearchCase::IgnoreCase))
	{
		return LOCTEXT("SG", "Performing the motion");
	}
	if (Stage.Equals(TEXT("retargeting"), ESearchCase::IgnoreCase))
	{
		return LOCTEXT("SR", "Fitting it to your character");
	}
	if (Stage.Equals(TEXT("exporting"), ESearchCase::IgnoreCase))
	{
		return LOCTEXT("SE", "Making the files");
	}
	return FText::FromString(Stage);
}

TOptional<float> STarvolinePanel::GetProgress() const
{
	if (!Job.IsSet())
	{
		return TOptional<float>();
	}
	return FMath::Clamp(Job->Progress, 0.0f, 1.0f);
}

// --- Result handling ---

void STarvolinePanel::FetchResult()
{
	if (!Job.IsSet())
	{
		EndWorkQuietly();
		return;
	}
	TarvolineApi::FetchJob(ApiKey, Job->Id,
		Guarded(
			[this](const FTarvolineJob& NewJob)
			{
				// Check again may find the job still running (following it had stopped on a failed read) or failed
				// meanwhile: such an answer goes down the job road, which resumes polling or shows the failure.
				if (NewJob.Status.Equals(TEXT("succeeded"), ESearchCase::IgnoreCase))
				{
					DownloadResult(NewJob);
				}
				else
				{
					OnJobUpdated(NewJob);
				}
			}),
		ErrorHandler());
}

void STarvolinePanel::DownloadResult(const FTarvolineJob& NewJob)
{
	if (EndWorkIfSignedOut())
	{
		return;
	}
	Job = NewJob;

	const FTarvolineJobOutput* Output = FindFbxOutput(NewJob);
	if (!Output || Output->Url.IsEmpty())
	{
		bBusy = false;
		return;
	}

	// The job's own character wins, even when the user has picked another one meanwhile.
	FString CharacterName = SelectedCharacter.IsValid() ? SelectedCharacter->Filename : FString();
	for (const TSharedPtr<FTarvolineCharacter>& Entry : Characters)
	{
		if (Entry->Id.Equals(NewJob.AssetId, ESearchCase::IgnoreCase))
		{
			CharacterName = Entry->Filename;
		}
	}

	FString FileName;
	FString Refusal;
	if (!MakeDownloadFileName(NewJob.Prompt, NewJob.Id, FileName, Refusal))
	{
		bBusy = false;
		Status.Empty();
		Error = Refusal;
		return;
	}
	const FString Path = FPaths::Combine(FPaths::ProjectSavedDir(), TEXT("Tarvoline"), FileName);

	Status = TEXT("Downloading...");
	TarvolineApi::DownloadFile(Output->Url, Path,
		Guarded(
			[this, Path, CharacterName]()
			{
				ImportDownloadedFile(Path, CharacterName);
			}),
		ErrorHandler());
}

void STarvolinePanel::ImportDownloadedFile(const FString& Path, const FString& CharacterName)
{
	if (!Job.IsSet())
	{
		// Signed out during the download: the file stays in Saved, nothing is imported for a forgotten job.
		EndWorkQuietly();
		return;
	}
	LastImport = ImportAnimationFbx(Path, CharacterName, Job->Prompt);
	UAnimSequence* Clip = LastImport.Clip.Get();
	if (!Clip)
	{
		bBusy = false;
		Status.Empty();
		Error = LastImport.Error.IsEmpty() ? FString(TEXT("Unreal could not import the file.")) : LastImport.Error;
		return;
	}
	Status = FString::Printf(TEXT("Ready: %.1f s, %d credits."), Job->DurationSeconds, Job->CreditsCost);
	if (GEditor)
	{
		GEditor->SyncBrowserToObjects(TArray<UObject*>{Clip}, true);
	}
	RefreshAccount(
		[this]()
		{
			bBusy = false;
		});
}

void STarvolinePanel::CheckAgain()
{
	BeginWork(FString());
	FetchResult();
}

void STarvolinePanel::ShowInContentBrowser()
{
	UAnimSequence* Clip = LastImport.Clip.Get();
	if (Clip && GEditor)
	{
		GEditor->SyncBrowserToObjects(TArray<UObject*>{Clip}, true);
	}
}

void STarvolinePanel::AddResultToLevel()
{
	AddClipToLevel(LastImport);
}

void STarvolinePanel::WatchOnline()
{
	if (!Job.IsSet())
	{
		return;
	}
	FPlatformProcess::LaunchURL(
		*FString::Printf(TEXT("%s/app/animate?job=%s"), TarvolineSiteUrl, *Job->Id), nullptr, nullptr);
}

// --- Character picker and motion examples ---

TSharedRef<SWidget> STarvolinePanel::MakeCharacterRow(TSharedPtr<FTarvolineCharacter> Item)
{
	return SNew(STextBlock).Text(FText::FromString(Item.IsValid() ? MakeCharacterLabel(*Item) : FString()));
}

FText STarvolinePanel::GetSelectedCharacterText() const
{
	if (SelectedCharacter.IsValid())
	{
		return FText::FromString(MakeCharacterLabel(*SelectedCharacter));
	}
	return LOCTEXT("NoCharacters", "No characters yet. Upload one below.");
}

FText STarvolinePanel::GetUploadSelectedText() const
{
	const FString Path = FindSelectedAssetSourceFile();
	if (!Path.IsEmpty())
	{
		return FText::Format(LOCTEXT("UploadSel", "Upload {0}"), FText::FromString(FPaths::GetCleanFilename(Path)));
	}
	return LOCTEXT("UploadSelNone", "Upload the selected asset's source file");
}

TArray<FString> STarvolinePanel::ExamplesForFamily(const FString& Family)
{
	if (Family.Equals(TEXT("humanoid"), ESearchCase::IgnoreCase))
	{
		return {TEXT("walks forward, then waves"), TEXT("runs, then jumps"), TEXT("sits down"),
			TEXT("walks forward slowly, then turns around")};
	}
	if (Family.Equals(TEXT("bird"), ESearchCase::IgnoreCase))
	{
		return {TEXT("walks forward, then takes off and flies"), TEXT("flies forward, then lands")};
	}
	if (Family.Equals(TEXT("frog"), ESearchCase::IgnoreCase))
	{
		return {TEXT("hops forward, then croaks"), TEXT("sits still, then snaps at a fly")};
	}
	return {TEXT("walks forward, stops, looks around, then lies down"), TEXT("trots ahead, then gallops off"),
		TEXT("eats grass, then looks up"), TEXT("runs, jumps, and keeps running")};
}

void STarvolinePanel::RebuildExamples()
{
	if (!ExamplesBox.IsValid())
	{
		return;
	}
	ExamplesBox->ClearChildren();
	const FString Family = SelectedCharacter.IsValid() ? SelectedCharacter->Family : FString(TEXT("quadruped"));
	for (const FString& Sentence : ExamplesForFamily(Family))
	{
		// Each button keeps its own sentence, so a click after a rebuild still sends what that button showed.
		// clang-format off
		ExamplesBox->AddSlot()
			.AutoHeight()
			.Padding(0, 1, 0, 1)
			.HAlign(HAlign_Fill)
			[
				SNew(SButton)
				.Text(FText::FromString(Sentence))
				.OnClicked_Lambda(
					[this, Sentence]()
					{
						UseExample(Sentence);
						return FReply::Handled();
					})
			];
		// clang-format on
	}
}

// --- Bound rules and texts ---

EVisibility STarvolinePanel::GetSignedInVisibility() const
{
	return Account.IsSet() ? EVisibility::Visible : EVisibility::Collapsed;
}

EVisibility STarvolinePanel::GetSignedOutVisibility() const
{
	return Account.IsSet() ? EVisibility::Collapsed : EVisibility::Visible;
}

bool STarvolinePanel::CanConnect() const
{
	return !bBusy && !ApiKey.IsEmpty();
}

bool STarvolinePanel::IsNotBusy() const
{
	return !bBusy;
}

bool STarvolinePanel::CanUploadSelection() const
{
	return !bBusy && !FindSelectedAssetSourceFile().IsEmpty();
}

bool STarvolinePanel::CanSendPrompt() const
{
	return !bBusy && SelectedCharacter.IsValid() && !Prompt.TrimStartAndEnd().IsEmpty();
}

EVisibility STarvolinePanel::GetPriceVisibility() const
{
	return Plan.IsSet() ? EVisibility::Visible : EVisibility::Collapsed;
}

EVisibility STarvolinePanel::GetProgressVisibility() const
{
	return Job.IsSet() && Job->IsActive() ? EVisibility::Visible : EVisibility::Collapsed;
}

EVisibility STarvolinePanel::GetResultVisibility() const
{
	return LastImport.Clip.IsValid() ? EVisibility::Visible : EVisibility::Collapsed;
}

EVisibility STarvolinePanel::GetCheckAgainVisibility() const
{
	// Offered while a job has no clip to show: after a failed download or import of a finished job, and after the
	// job could no longer be read while it was running. Signed out (a refused key), pressing it could only fail; once
	// a new job is ordered, the job still held is the one before, no longer the user's concern.
	if (!Account.IsSet() || !Job.IsSet() || bJobSuperseded || LastImport.Clip.IsValid())
	{
		return EVisibility::Collapsed;
	}
	// A finished job's outputs are final: without an FBX, reading it again can only end the same way. An FBX whose
	// link is empty still offers it, since every read of the job hands out fresh links.
	const bool bSucceeded =
		Job->Status.Equals(TEXT("succeeded"), ESearchCase::IgnoreCase) && FindFbxOutput(*Job) != nullptr;
	const bool bPollingStopped = Job->IsActive() && !bBusy;
	return bSucceeded || bPollingStopped ? EVisibility::Visible : EVisibility::Collapsed;
}

EVisibility STarvolinePanel::GetErrorVisibility() const
{
	return Error.IsEmpty() ? EVisibility::Collapsed : EVisibility::Visible;
}

EVisibility STarvolinePanel::GetStatusVisibility() const
{
	return Status.IsEmpty() ? EVisibility::Collapsed : EVisibility::Visible;
}

FText STarvolinePanel::GetApiKeyText() const
{
	return FText::FromString(ApiKey);
}

FText STarvolinePanel::GetPromptText() const
{
	return FText::FromString(Prompt);
}

FText STarvolinePanel::GetResultFolderText() const
{
	return FText::FromString(LastImport.FolderPath);
}

FText STarvolinePanel::GetErrorText() const
{
	return FText::FromString(Error);
}

FText STarvolinePanel::GetStatusText() const
{
	return FText::FromString(Status);
}

// --- Construction ---

namespace
{
/** A row of a column: as tall as its content, with the room around it the layout gives. */
SVerticalBox::FSlot::FSlotArguments ColumnRow(const FMargin& Padding = FMargin(0.0f))
{
	return MoveTemp(SVerticalBox::Slot().AutoHeight().Padding(Padding));
}

/** A cell of a row: as wide as its content, with the room around it the layout gives. */
SHorizontalBox::FSlot::FSlotArguments RowCell(const FMargin& Padding = FMargin(0.0f))
{
	return MoveTemp(SHorizontalBox::Slot().AutoWidth().Padding(Padding));
}
} // namespace

TSharedRef<SButton> STarvolinePanel::MakeButton(
	const FText& Label, void (STarvolinePanel::*Operation)(), bool (STarvolinePanel::*Rule)() const)
{
	if (Rule)
	{
		return SNew(SButton)
			.Text(Label)
			.IsEnabled(this, Rule)
			.OnClicked(this, &STarvolinePanel::RunFromButton, Operation);
	}
	return SNew(SButton).Text(Label).OnClicked(this, &STarvolinePanel::RunFromButton, Operation);
}

void STarvolinePanel::Construct(const FArguments& /*InArgs*/)
{
	GConfig->GetString(SettingsSection, SettingsKey, ApiKey, GEditorSettingsIni);

	// clang-format off
	ChildSlot
	[
		SNew(SScrollBox)
		+ SScrollBox::Slot()
		.Padding(12, 12, 12, 12)
		[
			SNew(SVerticalBox)

			+ ColumnRow()
			[
				SNew(STextBlock)
				.Text(LOCTEXT("Title", "Tarvoline"))
				.Font(FCoreStyle::GetDefaultFontStyle("Bold", 14))
			]

			+ ColumnRow(FMargin(0, 2, 0, 10))
			[
				MakeHintText(LOCTEXT("Sub", "Rig and animate a character from a sentence."))
			]

			+ ColumnRow(FMargin(0, 4, 0, 4))
			[
				MakeSectionHeader(LOCTEXT("Account", "Account"))
			]

			// Sign-in box.
			+ ColumnRow(FMargin(0, 2, 0, 2))
			[
				SNew(SVerticalBox)
				.Visibility(this, &STarvolinePanel::GetSignedOutVisibility)

				+ ColumnRow()
				[
					MakeHintText(LOCTEXT("KeyHint", "Paste an API key from your Tarvoline account. It stays on this computer."))
				]

				+ ColumnRow(FMargin(0, 4, 0, 4))
				[
					SNew(SEditableTextBox)
					.IsPassword(true)
					.HintText(LOCTEXT("KeyBox", "API key (tv_...)"))
					.Text(this, &STarvolinePanel::GetApiKeyText)
					.OnTextChanged(this, &STarvolinePanel::OnKeyChanged)
				]

				+ ColumnRow()
				[
					SNew(SHorizontalBox)
					+ RowCell(FMargin(0, 0, 6, 0))
					[
						MakeButton(LOCTEXT("Connect", "Connect"), &STarvolinePanel::Connect, &STarvolinePanel::CanConnect)
					]
					+ RowCell()
					[
						MakeButton(LOCTEXT("GetKey", "Get an API key"), &STarvolinePanel::OpenAccountPage)
					]
				]
			]

			// Account row.
			+ ColumnRow(FMargin(0, 2, 0, 2))
			[
				SNew(SHorizontalBox)
				.Visibility(this, &STarvolinePanel::GetSignedInVisibility)

				+ SHorizontalBox::Slot()
				.FillWidth(1.0f)
				.VAlign(VAlign_Center)
				[
					SNew(STextBlock)
					.Text(this, &STarvolinePanel::GetAccountText)
				]
				+ RowCell(FMargin(4, 0, 4, 0))
				[
					MakeButton(LOCTEXT("TopUp", "Top up"), &STarvolinePanel::OpenCreditsPage)
				]
				+ RowCell()
				[
					MakeButton(LOCTEXT("SignOut", "Sign out"), &STarvolinePanel::SignOut)
				]
			]

			// Character header.
			+ ColumnRow(FMargin(0, 14, 0, 4))
			[
				SNew(SBox)
				.Visibility(this, &STarvolinePanel::GetSignedInVisibility)
				[
					MakeSectionHeader(LOCTEXT("Character", "Character"))
				]
			]

			// Character box.
			+ ColumnRow()
			[
				SNew(SVerticalBox)
				.Visibility(this, &STarvolinePanel::GetSignedInVisibility)

				+ ColumnRow()
				[
					SNew(SHorizontalBox)

					+ SHorizontalBox::Slot()
					.FillWidth(1.0f)
					[
						SAssignNew(CharacterCombo, FCharacterCombo)
						.OptionsSource(&Characters)
						.OnGenerateWidget(this, &STarvolinePanel::MakeCharacterRow)
						.OnSelectionChanged(this, &STarvolinePanel::OnCharacterSelected)
						[
							SNew(STextBlock)
							.Text(this, &STarvolinePanel::GetSelectedCharacterText)
						]
					]
					+ RowCell(FMargin(4, 0, 0, 0))
					[
						MakeButton(LOCTEXT("Refresh", "Refresh"), &STarvolinePanel::OnRefreshClicked, &STarvolinePanel::IsNotBusy)
					]
				]

				+ ColumnRow(FMargin(0, 6, 0, 0))
				[
					SNew(SHorizontalBox)
					+ RowCell(FMargin(0, 0, 6, 0))
					[
						MakeButton(LOCTEXT("UploadFile", "Upload a model file..."), &STarvolinePanel::UploadModelFile, &STarvolinePanel::IsNotBusy)
					]
					+ RowCell()
					[
						SNew(SButton)
						.Text(this, &STarvolinePanel::GetUploadSelectedText)
						.IsEnabled(this, &STarvolinePanel::CanUploadSelection)
						.OnClicked(this, &STarvolinePanel::RunFromButton, &STarvolinePanel::UploadSelectedAsset)
					]
				]

				+ ColumnRow(FMargin(0, 4, 0, 0))
				[
					MakeHintText(LOCTEXT("Formats", "FBX, GLB, GLTF, DAE or a zip, with bones or without. Animals on four legs, people, birds."))
				]
			]

			// Motion header.
			+ ColumnRow(FMargin(0, 14, 0, 4))
			[
				SNew(SBox)
				.Visibility(this, &STarvolinePanel::GetSignedInVisibility)
				[
					MakeSectionHeader(LOCTEXT("Motion", "What it does"))
				]
			]

			// Motion box.
			+ ColumnRow()
			[
				SNew(SVerticalBox)
				.Visibility(this, &STarvolinePanel::GetSignedInVisibility)

				+ ColumnRow()
				[
					SNew(SBox)
					.MinDesiredHeight(48.0f)
					[
						SNew(SMultiLineEditableTextBox)
						.AutoWrapText(true)
						.HintText(LOCTEXT("PromptHint", "walks forward, stops, looks around, then lies down"))
						.Text(this, &STarvolinePanel::GetPromptText)
						.OnTextChanged(this, &STarvolinePanel::OnPromptChanged)
					]
				]

				+ ColumnRow(FMargin(0, 4, 0, 4))
				[
					SAssignNew(ExamplesBox, SVerticalBox)
				]

				+ ColumnRow(FMargin(0, 4, 0, 4))
				[
					SNew(STextBlock)
					.AutoWrapText(true)
					.Visibility(this, &STarvolinePanel::GetPriceVisibility)
					.Text(this, &STarvolinePanel::GetPriceText)
				]

				+ ColumnRow(FMargin(0, 4, 0, 4))
				[
					SNew(SHorizontalBox)
					+ RowCell(FMargin(0, 0, 6, 0))
					[
						MakeButton(LOCTEXT("Price", "Check the price"), &STarvolinePanel::CheckPrice, &STarvolinePanel::CanSendPrompt)
					]
					+ RowCell()
					[
						SNew(SButton)
						.ButtonStyle(&FAppStyle::Get().GetWidgetStyle<FButtonStyle>("PrimaryButton"))
						.Text(LOCTEXT("Make", "Make the animation"))
						.IsEnabled(this, &STarvolinePanel::CanSendPrompt)
						.OnClicked(this, &STarvolinePanel::RunFromButton, &STarvolinePanel::MakeAnimation)
					]
				]

				+ ColumnRow(FMargin(0, 6, 0, 6))
				[
					SNew(SVerticalBox)
					.Visibility(this, &STarvolinePanel::GetProgressVisibility)

					+ ColumnRow()
					[
						SNew(SProgressBar)
						.Percent(this, &STarvolinePanel::GetProgress)
					]

					+ ColumnRow(FMargin(0, 2, 0, 2))
					[
						SNew(STextBlock)
						.Text(this, &STarvolinePanel::GetStageText)
					]
				]
			]

			// Result box.
			+ ColumnRow(FMargin(0, 6, 0, 0))
			[
				SNew(SVerticalBox)
				.Visibility(this, &STarvolinePanel::GetResultVisibility)

				+ ColumnRow()
				[
					SNew(STextBlock)
					.AutoWrapText(true)
					.Text(this, &STarvolinePanel::GetResultFolderText)
				]

				+ ColumnRow(FMargin(0, 4, 0, 4))
				[
					SNew(SHorizontalBox)
					+ RowCell(FMargin(0, 0, 6, 0))
					[
						MakeButton(LOCTEXT("Show", "Show in Content Browser"), &STarvolinePanel::ShowInContentBrowser)
					]
					+ RowCell(FMargin(0, 0, 6, 0))
					[
						MakeButton(LOCTEXT("AddToLevel", "Add to level"), &STarvolinePanel::AddResultToLevel)
					]
					+ RowCell()
					[
						MakeButton(LOCTEXT("Watch", "Watch online"), &STarvolinePanel::WatchOnline)
					]
				]
			]

			// "Check again": reachable after a failed download, while the result box is still collapsed.
			+ ColumnRow(FMargin(0, 6, 0, 0))
			[
				SNew(SHorizontalBox)
				.Visibility(this, &STarvolinePanel::GetCheckAgainVisibility)
				+ RowCell()
				[
					MakeButton(LOCTEXT("Again", "Check again"), &STarvolinePanel::CheckAgain, &STarvolinePanel::IsNotBusy)
				]
			]

			// Error line.
			+ ColumnRow(FMargin(0, 10, 0, 0))
			[
				SNew(STextBlock)
				.AutoWrapText(true)
				.ColorAndOpacity(FLinearColor(0.95f, 0.35f, 0.3f, 1.0f))
				.Visibility(this, &STarvolinePanel::GetErrorVisibility)
				.Text(this, &STarvolinePanel::GetErrorText)
			]

			// Status line.
			+ ColumnRow(FMargin(0, 6, 0, 0))
			[
				SNew(STextBlock)
				.AutoWrapText(true)
				.Visibility(this, &STarvolinePanel::GetStatusVisibility)
				.Text(this, &STarvolinePanel::GetStatusText)
			]
		]
	];
	// clang-format on

	RebuildExamples();

	if (!ApiKey.IsEmpty())
	{
		Connect();
	}
}

#undef LOCTEXT_NAMESPACE
