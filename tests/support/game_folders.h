// Ready-made game folders for tests, built from the catalogue.
#pragma once

#include <string>

#include "support/memory_folder.h"

namespace orvando::testing {

// The content a test gives the file first found under `name`, so that a file
// can be followed through renames.
std::string contentFor(const std::string& name);

// Stock music in place and the modification's files unpacked beside it:
// the 23 stock names and the 7 replacement names.
void fillStockFolder(MemoryFolder& folder);

// As a complete enable leaves it: the 23 backup names and the 7 stock names
// that the replacement tracks now hold.
void fillEnabledFolder(MemoryFolder& folder);

}  // namespace orvando::testing
