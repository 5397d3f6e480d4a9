#pragma once

#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <memory>

// The mailboxes the benchmarks scan. Folder i is "F<i>" with the name
// "Ordner <i>": for even i a ".PMM" file, for odd i an ".MBX" file with its
// ".PMG" companion. The hierarchy holds one entry per folder in chains of
// five under one root, as a mailbox with a few levels of sub-folders has them.
std::unique_ptr<TempDir> GenerateMailbox(int folders);

// The mailbox of that many folders, made on first use and kept until the
// program ends.
const TempDir& GeneratedMailbox(int folders);

// The least any scan must do on the generated mailbox of state.range(0)
// folders: list the directory, then for every entry open it relative to the
// directory, look at it (fstat), read its first 128 bytes and close it.
void BM_LeastWork(benchmark::State& state);
