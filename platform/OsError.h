#pragma once

// Whether an error the OS reported (errno, or GetLastError on Windows) is one
// of input and output: a share that dropped out or timed out, a disk that
// failed. A name that is missing, a file that is locked or refused, is not.
bool IsIoError(unsigned long code);
