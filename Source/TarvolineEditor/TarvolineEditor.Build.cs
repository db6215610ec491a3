// Build rules of the Tarvoline editor module.

using UnrealBuildTool;

public class TarvolineEditor : ModuleRules
{
	public TarvolineEditor(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = ModuleRules.PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
		});

		PrivateDependencyModuleNames.AddRange(new string[]
		{
			"CoreUObject",
			"Engine",
			"UnrealEd",
			"Slate",
			"SlateCore",
			"InputCore",
			"ToolMenus",
			"WorkspaceMenuStructure",
			"HTTP",
			"Json",
			"DesktopPlatform",
			"ContentBrowser",
			"AssetTools",
			"AssetRegistry",
		});
	}
}
