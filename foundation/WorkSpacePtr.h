// How the application base owns the project workspace. The workspace is a class of the model, a layer
// above the base, so the base cannot name its destructor: the pointer carries the deleter the model
// gives it, and start-up makes the workspace through the factory the model registers.
#pragma once

#include <memory>

class CWorkSpaceObj;

// Empty or owning; an empty one has no deleter and needs none.
using CWorkSpacePtr = std::unique_ptr<CWorkSpaceObj, void (*)(CWorkSpaceObj*)>;
using WorkSpaceFactory = CWorkSpacePtr (*)();
