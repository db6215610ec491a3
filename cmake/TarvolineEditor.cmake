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
		# Whole, so the module's IMPLEMENT_MODULE and class registrations survive as in HostEditor-Cmd.
		target_link_libraries(TarvolineAutomation PRIVATE -Wl,--whole-archive TarvolineEditor -Wl,--no-whole-archive)
	endif()
	# WITH_TARVOLINE_HOST marks tests that also use the stand-in's own hooks (answering the file dialog, setting the
	# Content Browser selection, driving widgets as a person would); an editor build compiles them out.
	target_compile_definitions(TarvolineAutomation PRIVATE TARVOLINE_SOURCE_DIR="${CMAKE_SOURCE_DIR}" WITH_TARVOLINE_HOST=1)

	# One ctest entry per automation test, listed from the runner when ctest starts (as googletest discovery does),
	# each in a process of its own with its own scratch project and, where built, its own local service.
	set(TarvolineRunnerArgs)
	if(TARGET tarvoline-sim)
		set(TarvolineRunnerArgs --simulator $<TARGET_FILE:tarvoline-sim>)
	endif()
	file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/TarvolineAutomationTests.cmake CONTENT "
execute_process(COMMAND \"$<TARGET_FILE:TarvolineAutomation>\" --list OUTPUT_VARIABLE TestNames RESULT_VARIABLE ListResult)
if(NOT ListResult EQUAL 0)
	add_test(Tarvoline.Listing \"$<TARGET_FILE:TarvolineAutomation>\" --list)
else()
	string(REPLACE \"\\n\" \";\" TestNames \"\${TestNames}\")
	foreach(TestName IN LISTS TestNames)
		if(TestName)
			add_test(\${TestName} \"$<TARGET_FILE:TarvolineAutomation>\" --exact \${TestName} ${TarvolineRunnerArgs})
			set_tests_properties(\${TestName} PROPERTIES TIMEOUT 300)
		endif()
	endforeach()
endif()
")
	set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/TarvolineAutomationTests.cmake)
endif()

# HostEditor-Cmd: the stand-in's command-line editor with the plug-in linked in whole, so that its classes and module
# register themselves as they would when the editor loads the plug-in.
if(TARGET TarvolineEditor)
	add_executable(HostEditor-Cmd ${CMAKE_SOURCE_DIR}/Host/EditorCmd/HostEditorCmd.cpp)
	target_link_libraries(HostEditor-Cmd PRIVATE -Wl,--whole-archive TarvolineEditor -Wl,--no-whole-archive ${TarvolineLinkModules})
	set_target_properties(HostEditor-Cmd PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

# The same sources compiled syntax-only as a UE 5.3 editor build compiles them (no stand-in hooks, the engine's
# warnings as errors).
include(${CMAKE_CURRENT_LIST_DIR}/TarvolineEditorShapedCompile.cmake)
