// What the object system's own files share.
#pragma once

#include "CoreMinimal.h"
#include <vector>

class UObject;

namespace HostObjects
{
/** True while a package file is being read: loaded objects do not dirty their package nor enter undo. */
bool IsLoadingPackages();
void BeginLoading();
void EndLoading();
/** Non-garbage objects directly inside Outer, in the order they were made. */
void GetDirectChildren(const UObject* Outer, std::vector<UObject*>& Out);
} // namespace HostObjects
