// Stands in for the engine's Misc/ITransaction.h (a Core header there; the stand-in keeps it beside the object
// system that calls it): the open undo step that UObject::Modify records into.
#pragma once

#include "CoreTypes.h"

class UObject;

class ITransaction
{
public:
	virtual ~ITransaction() {}
	/** Remembers the object's state as it is now, once per object and step, so that undo can restore it. */
	virtual void SaveObject(UObject* Object) = 0;
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: a transactional object was made during the step; undo marks it as garbage again. */
	virtual void HostObjectCreated(UObject* Object) = 0;
#endif
};

/** The open undo step, or nullptr outside one. */
extern ITransaction* GUndo;
