# TarvolineEditorShapedCompile: every .cpp of the plug-in (its tests included) compiled the way a UE 5.3 editor build
# compiles it, syntax only, as part of the normal build. The plug-in's tests and tools are built with
# WITH_TARVOLINE_HOST=1 and the project's own warning flags; an editor build defines neither that macro nor those
# flags, so code that only the stand-in's branches reach, or that the engine's stricter build refuses, would otherwise
# never be seen here. A failure fails the build.
#
# The stand-in's engine-named headers show their own members (the Host* paint, layout and storage hooks) only when
# WITH_TARVOLINE_HOST is defined, which every target built against the stand-in gets from its Core library; this
# compile leaves it undefined, so it sees the engine's surface and a call to one of those members fails here. After
# the compile, FindHostNames.sh reads each source with its #if branches decided the same way and fails on any name of
# the stand-in's own (Host*) left in the plug-in's code, which also catches the few the compile alone would accept (a
# Host*-named header included by name, a name only inside a template that is never instantiated).
#
# What the engine's Linux build does and this copies: WITH_DEV_AUTOMATION_TESTS=1 on the command line, -Wall -Werror,
# -Wundef with undefined identifiers in #if as errors (UE 5.3's bUndefinedIdentifierErrors) and -Wshadow as an error
# (build settings V2 and later). GCC's -Wshadow also reports a local hiding a class member, as MSVC's C4458 does.
#
# The stand-in's headers are included as ordinary (not system) directories, so they are held to the same flags: a
# warning in an engine-named header of the stand-in fails this target too. (Passing them with -isystem would hide
# warnings in the stand-in's own header code; it is not needed while they compile clean.)

if(NOT TARGET TarvolineAutomation OR NOT TARGET TarvolineEditor)
	return()
endif()

set(TarvolineShapedDir ${CMAKE_BINARY_DIR}/EditorShapedCompile)
set(TarvolineShapedFlags -std=c++20 -fsyntax-only -DWITH_DEV_AUTOMATION_TESTS=1
	-Wall -Wextra -Werror -Wundef -Werror=undef -Wshadow -Werror=shadow)

# The plug-in's own folders, then every include directory the stand-in's modules give the plug-in's tests.
set(TarvolineShapedIncludes -I${TarvolineModuleDir}/Private -I${TarvolineModuleDir}/Private/Tests)
set(TarvolineShapedHostIncludes
	"$<FILTER:$<TARGET_PROPERTY:TarvolineAutomation,INCLUDE_DIRECTORIES>,EXCLUDE,^${TarvolineModuleDir}>")
set(TarvolineShapedHostIncludes "-I$<JOIN:${TarvolineShapedHostIncludes},;-I>")

set(TarvolineShapedStamps)
foreach(Source IN LISTS TarvolinePrivateSources TarvolineTestSources)
	file(RELATIVE_PATH Relative ${TarvolineModuleDir} ${Source})
	set(Stamp ${TarvolineShapedDir}/${Relative}.checked)
	get_filename_component(StampDir ${Stamp} DIRECTORY)
	add_custom_command(OUTPUT ${Stamp}
		COMMAND ${CMAKE_COMMAND} -E make_directory ${StampDir}
		COMMAND ${CMAKE_CXX_COMPILER} ${TarvolineShapedFlags} ${TarvolineShapedIncludes} "${TarvolineShapedHostIncludes}"
			-MD -MF ${Stamp}.d -MT ${Stamp} ${Source}
		COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/FindHostNames.sh ${TarvolineModuleDir}
			${CMAKE_CXX_COMPILER} -std=c++20 -DWITH_DEV_AUTOMATION_TESTS=1 ${TarvolineShapedIncludes}
			"${TarvolineShapedHostIncludes}" ${Source}
		COMMAND ${CMAKE_COMMAND} -E touch ${Stamp}
		DEPENDS ${Source} ${CMAKE_CURRENT_LIST_DIR}/FindHostNames.sh
		DEPFILE ${Stamp}.d
		COMMENT "Editor-shaped compile of ${Relative}"
		COMMAND_EXPAND_LISTS
		VERBATIM)
	list(APPEND TarvolineShapedStamps ${Stamp})
endforeach()

add_custom_target(TarvolineEditorShapedCompile ALL DEPENDS ${TarvolineShapedStamps})
