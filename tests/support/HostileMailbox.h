#pragma once

#include "tests/support/TempDir.h"

#include <cstddef>
#include <memory>

// A mailbox that a broken or hostile mail client could leave behind: a folder
// tree file holding one chain of entries with huge names, and many ".PMM"
// folders whose keys name its deepest entry, so that every folder's path
// would run through the whole chain.
struct HostileMailbox {
    size_t nameLength = 128 * 1024;
    int chainLength = 70;
    int folders = 300;

    std::unique_ptr<TempDir> Make() const;
};
