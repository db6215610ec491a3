// Stands in for the engine's Editor.h: the editor object of the running editor.
#pragma once

#include "Editor/EditorEngine.h"
#include "Editor/UnrealEdEngine.h"

/** The running editor; the stand-in makes one, with an empty level, when the program starts. */
extern UEditorEngine* GEditor;
