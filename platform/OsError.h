#pragma once

// Whether an error the OS reported (errno, or GetLastError on Windows) is one
// of input and output: a share that dropped out or timed out, a disk that
// failed; and a path longer than the OS takes, whose file may well be there.
// A name that is missing, a file that is locked or refused, is not.
bool IsIoError(unsigned long code);
