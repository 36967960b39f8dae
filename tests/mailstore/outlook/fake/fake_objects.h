#pragma once
// The automation objects of the fake Outlook. Each call creates fresh
// objects, as Outlook does: two reads of the same folder give two objects.

#include <memory>

#include "fake_dispatch.h"
#include "fake_mailbox.h"

namespace fake_outlook {

IDispatch* NewApplication();
IDispatch* NewFolder(FakeFolder& folder);
IDispatch* NewItem(std::shared_ptr<FakeItem> item);

}  // namespace fake_outlook
