# The plug-in, built from Source/ exactly as the engine would build it, against the stand-in's modules.

set(TarvolineModuleDir ${CMAKE_SOURCE_DIR}/Source/TarvolineEditor)
file(GLOB_RECURSE TarvolinePrivateSources CONFIGURE_DEPENDS ${TarvolineModuleDir}/Private/*.cpp)
list(FILTER TarvolinePrivateSources EXCLUDE REGEX "/Private/Tests/")
file(GLOB_RECURSE TarvolineTestSources CONFIGURE_DEPENDS ${TarvolineModuleDir}/Private/Tests/*.cpp)

# The module dependencies named in TarvolineEditor.Build.cs; those the stand-in does not provide yet are skipped.
set(TarvolineEngineModules Core CoreUObject Engine UnrealEd Slate SlateCore InputCore ToolMenus WorkspaceMenuStructure
	HTTP Json DesktopPlatform ContentBrowser AssetTools AssetRegistry)
set(TarvolineLinkModules)
foreach(Module IN LISTS TarvolineEngineModules)
	if(TARGET ${Module})
		list(APPEND TarvolineLinkModules ${Module})
	endif()
endforeach()

if(TarvolinePrivateSources)
	add_library(TarvolineEditor STATIC ${TarvolinePrivateSources})
	target_include_directories(TarvolineEditor PUBLIC ${TarvolineModuleDir}/Private ${TarvolineModuleDir}/Public)
	target_link_libraries(TarvolineEditor PUBLIC ${TarvolineLinkModules})
endif()

# The plug-in's automation tests, compiled into the runner so their static registrations are kept.
if(TarvolineTestSources AND TARGET HostAutomationRunner)
	add_executable(TarvolineAutomation ${TarvolineTestSources})
	target_include_directories(TarvolineAutomation PRIVATE ${TarvolineModuleDir}/Private ${TarvolineModuleDir}/Private/Tests)
	target_link_libraries(TarvolineAutomation PRIVATE -Wl,--whole-archive HostAutomationRunner -Wl,--no-whole-archive
		${TarvolineLinkModules})
	if(TARGET TarvolineEditor)
		target_link_libraries(TarvolineAutomation PRIVATE TarvolineEditor)
	endif()
	target_compile_definitions(TarvolineAutomation PRIVATE TARVOLINE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
	add_test(NAME Tarvoline COMMAND TarvolineAutomation Tarvoline)
endif()
